// Windows, classes, painting and the recorded mouse and shell calls of the
// headless window system.

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_window_system.h"

namespace vorn::platform {
namespace {

Window fakeParent() {
    static char token;
    return reinterpret_cast<Window>(&token);
}

// A class procedure that logs what reaches it and passes everything on.
std::vector<uint32_t> receivedMessages;
intptr_t loggingProcedure(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    receivedMessages.push_back(message);
    return headlessWindowSystem().defaultWindowProcedure(window, message, wParam, lParam);
}

// One that answers 0 to everything, as a procedure that forgot the default would.
intptr_t swallowingProcedure(Window, uint32_t, uintptr_t, intptr_t) { return 0; }

// One that paints a red square through a memory context, the way the editor does.
intptr_t paintingProcedure(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    HeadlessWindowSystem& system = headlessWindowSystem();
    if (message == kMessagePaint) {
        Context screen = system.beginPaint(window);
        Context frame = system.createCompatibleContext(screen);
        Handle buffer = system.createCompatibleBitmap(screen, 700, 180);
        Handle previous = system.select(frame, buffer);
        Handle brush = system.createSolidBrush({255, 0, 0});
        system.fillRect(frame, {10, 10, 20, 20}, brush);
        system.deleteObject(brush);
        system.copyPixels(screen, 0, 0, 700, 180, frame, 0, 0);
        system.select(frame, previous);
        system.endPaint(window);
        system.deleteContext(frame);
        system.deleteObject(buffer);
    }
    return system.defaultWindowProcedure(window, message, wParam, lParam);
}

class HeadlessWindows : public ::testing::Test {
protected:
    HeadlessWindowSystem& system = headlessWindowSystem();
    Module module = moduleHandle();

    void SetUp() override {
        system.reset();
        receivedMessages.clear();
    }

    Window open(const char* className) {
        return system.createChildWindow(className, "Window", fakeParent(), 0, 0, 700, 180, module);
    }
};

TEST_F(HeadlessWindows, AChildWindowNeedsARegisteredClassAndAParent) {
    EXPECT_EQ(open("EditorClass"), nullptr);
    system.registerClass("EditorClass", loggingProcedure, module);
    EXPECT_EQ(system.createChildWindow("EditorClass", "Window", nullptr, 0, 0, 700, 180, module),
              nullptr);
    EXPECT_EQ(system.createChildWindow("EditorClass", "Window", fakeParent(), 0, 0, 700, 180,
                                       nullptr),
              nullptr);  // the class belongs to another module

    Window window = open("EditorClass");
    ASSERT_NE(window, nullptr);
    const WindowInfo info = system.windowInfo(window);
    EXPECT_EQ(info.className, "EditorClass");
    EXPECT_EQ(info.windowName, "Window");
    EXPECT_EQ(info.parent, fakeParent());
    EXPECT_EQ(info.bounds.right, 700);
    EXPECT_EQ(info.bounds.bottom, 180);
    EXPECT_EQ(system.screen(window).width, 700);
    EXPECT_EQ(system.liveWindowCount(), 1);
}

TEST_F(HeadlessWindows, CreationAndDestructionSendTheSystemsMessages) {
    system.registerClass("EditorClass", loggingProcedure, module);
    Window window = open("EditorClass");
    system.destroyWindow(window);
    EXPECT_EQ(receivedMessages, (std::vector<uint32_t>{kMessageNonClientCreate, kMessageCreate,
                                                      kMessageDestroy, kMessageNonClientDestroy}));
    EXPECT_FALSE(system.isWindow(window));
    EXPECT_EQ(system.liveWindowCount(), 0);
}

TEST_F(HeadlessWindows, AProcedureThatSkipsTheDefaultFailsTheCreation) {
    system.registerClass("Swallower", swallowingProcedure, module);
    EXPECT_EQ(open("Swallower"), nullptr);
    EXPECT_EQ(system.liveWindowCount(), 0);
}

TEST_F(HeadlessWindows, AClassIsRegisteredOnceAndStaysWhileItHasWindows) {
    system.registerClass("EditorClass", loggingProcedure, module);
    system.registerClass("EditorClass", swallowingProcedure, module);  // refused
    EXPECT_EQ(system.registerCallCount(), 2);
    Window window = open("EditorClass");
    ASSERT_NE(window, nullptr);  // the first procedure is still the class's

    system.unregisterClass("EditorClass", module);
    EXPECT_TRUE(system.isClassRegistered("EditorClass"));
    system.destroyWindow(window);
    system.unregisterClass("EditorClass", nullptr);  // another module's class: refused
    EXPECT_TRUE(system.isClassRegistered("EditorClass"));
    system.unregisterClass("EditorClass", module);
    EXPECT_FALSE(system.isClassRegistered("EditorClass"));
    EXPECT_EQ(system.unregisterCallCount(), 3);
}

TEST_F(HeadlessWindows, UserDataBelongsToTheWindow) {
    system.registerClass("EditorClass", loggingProcedure, module);
    Window window = open("EditorClass");
    int editor = 0;
    EXPECT_EQ(system.windowUserData(window), nullptr);
    system.setWindowUserData(window, &editor);
    EXPECT_EQ(system.windowUserData(window), &editor);
    system.destroyWindow(window);
    EXPECT_EQ(system.windowUserData(window), nullptr);
}

TEST_F(HeadlessWindows, APaintReachesTheWindowsScreenAndLeavesNoObjectBehind) {
    system.registerClass("Painter", paintingProcedure, module);
    Window window = open("Painter");
    system.paint(window);
    EXPECT_EQ(system.pixel(window, 10, 10), (Colour{255, 0, 0}));
    EXPECT_EQ(system.pixel(window, 19, 19), (Colour{255, 0, 0}));
    EXPECT_EQ(system.pixel(window, 20, 20), (Colour{0, 0, 0}));
    EXPECT_EQ(system.liveObjectCount(), 0);
}

TEST_F(HeadlessWindows, APaintContextTakesNoBitmapAndEndsWithThePaint) {
    system.registerClass("EditorClass", loggingProcedure, module);
    Window window = open("EditorClass");
    Context screen = system.beginPaint(window);
    Handle bitmap = system.createCompatibleBitmap(screen, 4, 4);
    EXPECT_EQ(system.select(screen, bitmap), nullptr);
    system.deleteContext(screen);  // not how a paint context ends
    EXPECT_EQ(system.liveObjectCount(), 2);
    system.endPaint(window);
    EXPECT_EQ(system.liveObjectCount(), 1);
    system.deleteObject(bitmap);
}

TEST_F(HeadlessWindows, InvalidationsCaptureCursorAndAddressesAreRecorded) {
    system.registerClass("EditorClass", loggingProcedure, module);
    Window window = open("EditorClass");
    system.invalidate(window);
    system.invalidate(window);
    EXPECT_EQ(system.invalidationCount(window), 2);
    Window other = open("EditorClass");
    system.invalidate(nullptr);  // no window stands for all of them
    EXPECT_EQ(system.invalidationCount(window), 3);
    EXPECT_EQ(system.invalidationCount(other), 1);

    EXPECT_FALSE(system.lastCursor().has_value());
    system.setCursor(Cursor::hand);
    EXPECT_EQ(system.lastCursor(), Cursor::hand);

    system.openWebAddress("http://example.invalid/");
    ASSERT_EQ(system.openedAddresses().size(), 1u);
    EXPECT_EQ(system.openedAddresses()[0], "http://example.invalid/");

    system.setCapture(window);
    EXPECT_EQ(system.capturedWindow(), window);
    system.releaseCapture();
    EXPECT_EQ(system.capturedWindow(), nullptr);
    system.setCapture(window);
    system.destroyWindow(window);  // a destroyed window loses the capture
    EXPECT_EQ(system.capturedWindow(), nullptr);
}

TEST_F(HeadlessWindows, MessagesCarryThePointerAsTwoUnsignedHalves) {
    system.registerClass("EditorClass", loggingProcedure, module);
    Window window = open("EditorClass");
    receivedMessages.clear();
    system.sendMessage(window, kMessageMouseMove, 0, HeadlessWindowSystem::pointerPosition(13, 63));
    EXPECT_EQ(receivedMessages, std::vector<uint32_t>{kMessageMouseMove});
    EXPECT_EQ(HeadlessWindowSystem::pointerPosition(13, 63), 13 + (63 << 16));
    EXPECT_EQ(HeadlessWindowSystem::pointerPosition(-1, 2), 0xFFFF + (2 << 16));
    EXPECT_EQ(system.sendMessage(nullptr, kMessagePaint, 0, 0), 0);
}

TEST_F(HeadlessWindows, ResetForgetsEverything) {
    system.registerClass("EditorClass", loggingProcedure, module);
    Window window = open("EditorClass");
    system.setCapture(window);
    system.createSolidBrush({1, 2, 3});
    system.reset();
    EXPECT_FALSE(system.isClassRegistered("EditorClass"));
    EXPECT_EQ(system.liveWindowCount(), 0);
    EXPECT_EQ(system.liveObjectCount(), 0);
    EXPECT_EQ(system.capturedWindow(), nullptr);
    EXPECT_EQ(system.registerCallCount(), 0);
}

}  // namespace
}  // namespace vorn::platform
