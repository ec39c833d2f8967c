// The editor's window under the host's editor opcodes: the rectangle, the
// window and its class, counting across instances, idle repaints, the objects
// the editor owns, and hosts that open twice or close the effect first.

#include <memory>

#include "editor/editor_window_proc.h"
#include "editor_fixture.h"

namespace vorn::editor_test {
namespace {

constexpr const char* kClass = EqualizerEditor::kWindowClassName;

TEST_F(EditorTest, RectangleIsFixedAndHandedOutAtOneAddress) {
    vst::ERect* first = nullptr;
    vst::ERect* second = nullptr;
    EXPECT_EQ(dispatch(effect, vst::effEditGetRect, &first), 1);
    EXPECT_EQ(dispatch(effect, vst::effEditGetRect, &second), 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->top, 0);
    EXPECT_EQ(first->left, 0);
    EXPECT_EQ(first->bottom, 180);
    EXPECT_EQ(first->right, 700);
}

TEST_F(EditorTest, OpensAVisibleChildWindowThatLeadsBackToTheEditor) {
    EXPECT_EQ(dispatch(effect, vst::effEditOpen, kHostWindow), 1);
    window = editorOf(effect).openWindowHandle();
    ASSERT_TRUE(system.isWindow(window));  // the creation messages got the default answers

    const platform::WindowInfo info = system.windowInfo(window);
    EXPECT_EQ(info.className, "VSTEditorClass");
    EXPECT_EQ(info.windowName, "Window");
    EXPECT_EQ(info.parent, kHostWindow);
    EXPECT_EQ(info.bounds.left, 0);
    EXPECT_EQ(info.bounds.top, 0);
    EXPECT_EQ(info.bounds.right, 700);
    EXPECT_EQ(info.bounds.bottom, 180);
    EXPECT_EQ(system.windowUserData(window), &editorOf(effect));

    EXPECT_EQ(dispatch(effect, vst::effEditClose), 0);
    EXPECT_FALSE(system.isWindow(window));
    EXPECT_EQ(editorOf(effect).openWindowHandle(), nullptr);
}

TEST_F(EditorTest, MessageBeforeTheEditorIsStoredGetsTheDefaultAnswer) {
    open();
    system.setWindowUserData(window, nullptr);  // as during creation

    EXPECT_EQ(editorWindowProc(window, platform::kMessageNonClientCreate, 0, 0),
              system.defaultWindowProcedure(window, platform::kMessageNonClientCreate, 0, 0));
    press(233, 174);  // would toggle the L switch
    paint();
    EXPECT_TRUE(effect.editorState().editLeft);
    EXPECT_FALSE(effect.editorState().dragging);
    EXPECT_EQ(system.capturedWindow(), nullptr);
    EXPECT_EQ(pixel(100, 100), (Colour{0, 0, 0}));  // never painted

    system.setWindowUserData(window, &editorOf(effect));
    close();
}

TEST_F(EditorTest, ClassIsRegisteredWhileAnyInstanceHasItsEditorOpen) {
    EqualizerEffect second(&answeringHost);

    open();
    Window secondWindow = openEditor(second);
    EXPECT_TRUE(system.isWindow(secondWindow));
    EXPECT_EQ(system.registerCallCount(), 1);

    close();
    EXPECT_TRUE(system.isClassRegistered(kClass));
    EXPECT_EQ(system.unregisterCallCount(), 0);

    dispatch(second, vst::effEditClose);
    EXPECT_FALSE(system.isClassRegistered(kClass));
    EXPECT_EQ(system.unregisterCallCount(), 1);

    open();
    EXPECT_TRUE(system.isClassRegistered(kClass));
    EXPECT_EQ(system.registerCallCount(), 2);
    close();
}

TEST_F(EditorTest, ReopenedWindowShowsTheSwitchesAndTextAsTheyWere) {
    open();
    press(233, 174);  // L off
    move(13, 63);
    release(13, 63);
    const std::string text = readout();
    close();

    open();
    ASSERT_TRUE(system.isWindow(window));
    paint();
    EXPECT_FALSE(effect.editorState().editLeft);
    EXPECT_EQ(readout(), text);
    EXPECT_TRUE(zoneShowsArtwork({230, 171, 237, 176}));  // the L lamp is dark
    EXPECT_TRUE(zoneIs({265, 172, 270, 176}, layout::colour::kLampLit));
    close();
}

TEST_F(EditorTest, EveryIdleCallInvalidatesAndARequestedRefreshAddsOne) {
    open();
    EXPECT_EQ(dispatch(effect, vst::effEditIdle), 0);
    dispatch(effect, vst::effEditIdle);
    EXPECT_EQ(system.invalidationCount(window), 2);

    editorOf(effect).requestRefresh();
    dispatch(effect, vst::effEditIdle);
    EXPECT_EQ(system.invalidationCount(window), 4);
    dispatch(effect, vst::effEditIdle);
    EXPECT_EQ(system.invalidationCount(window), 5);
    close();
}

TEST_F(EditorTest, IdleWithoutAWindowDoesNothing) {
    dispatch(effect, vst::effEditIdle);
    open();
    EXPECT_EQ(system.invalidationCount(window), 0);
    close();
    dispatch(effect, vst::effEditIdle);  // the closed window is not touched
}

// A host that hands over no usable parent: the window cannot be made, the
// open answers 0, nothing stays counted or registered for it, and the idle
// calls that follow must not invalidate "no window", which on Windows
// repaints every window on the desktop.
TEST_F(EditorTest, IdleAfterAFailedOpenTouchesNoOtherWindow) {
    EqualizerEffect other(&answeringHost);
    Window otherWindow = openEditor(other);
    ASSERT_TRUE(system.isWindow(otherWindow));

    EXPECT_EQ(dispatch(effect, vst::effEditOpen, nullptr), 0);
    EXPECT_EQ(editorOf(effect).openWindowHandle(), nullptr);
    editorOf(effect).requestRefresh();
    dispatch(effect, vst::effEditIdle);
    EXPECT_EQ(system.invalidationCount(otherWindow), 0);

    close();
    EXPECT_TRUE(system.isClassRegistered(kClass));  // the other editor still uses it
    dispatch(other, vst::effEditClose);
    EXPECT_FALSE(system.isClassRegistered(kClass));
}

TEST_F(EditorTest, FailedOpenLeavesNothingBehind) {
    EXPECT_EQ(dispatch(effect, vst::effEditOpen, nullptr), 0);
    EXPECT_FALSE(system.isClassRegistered(kClass));
    EXPECT_EQ(system.liveWindowCount(), 0);
    close();
    EXPECT_EQ(system.unregisterCallCount(), 1);  // the one of the failed open itself

    // Reopened into no parent while open: the first window goes as well.
    open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dispatch(effect, vst::effEditOpen, nullptr), 0);
    EXPECT_FALSE(system.isWindow(window));
    EXPECT_FALSE(system.isClassRegistered(kClass));
    EXPECT_EQ(editorOf(effect).openWindowHandle(), nullptr);

    open();  // and the editor opens normally afterwards
    EXPECT_TRUE(system.isWindow(window));
    close();
    EXPECT_FALSE(system.isClassRegistered(kClass));
}

// GDI objects: the editor owns a font and two bitmaps from construction and
// its off-screen frame from the first paint; a paint leaves nothing else.
TEST_F(EditorTest, PaintsLeaveNoObjectBehindAndTheFrameIsMadeOnce) {
    const int owned = system.liveObjectCount();
    EXPECT_EQ(owned, 3);

    open();
    paint();
    EXPECT_EQ(system.liveObjectCount(), owned + 1);  // the off-screen frame
    paint();
    EXPECT_EQ(system.liveObjectCount(), owned + 1);

    press(313, 174);  // lamps, bars and text use brushes and contexts
    playBlockWithPeak(1.5f);
    paint();
    EXPECT_EQ(system.liveObjectCount(), owned + 1);
    close();

    open();
    paint();
    EXPECT_EQ(system.liveObjectCount(), owned + 1);  // reused after reopening
    close();
}

TEST_F(EditorTest, DestroyingTheEffectFreesEverythingItsEditorMade) {
    {
        EqualizerEffect other(&answeringHost);
        Window otherWindow = openEditor(other);
        system.paint(otherWindow);
        dispatch(other, vst::effEditClose);
    }
    EXPECT_EQ(system.liveObjectCount(), 3);  // only the fixture's editor is left
}

// A host that closes the effect without closing its editor first: the
// window must not survive pointing at the freed editor, and the class count
// must still come back to zero.
TEST_F(EditorTest, EffectClosedWithItsEditorOpenTakesTheWindowAlong) {
    auto doomed = std::make_unique<EqualizerEffect>(&answeringHost);
    Window orphan = openEditor(*doomed);
    ASSERT_TRUE(system.isWindow(orphan));

    doomed.reset();
    EXPECT_FALSE(system.isWindow(orphan));
    EXPECT_EQ(system.liveWindowCount(), 0);
    EXPECT_FALSE(system.isClassRegistered(kClass));

    open();
    EXPECT_TRUE(system.isClassRegistered(kClass));
    close();
    EXPECT_FALSE(system.isClassRegistered(kClass));
}

// Opening twice without a close replaces the first window instead of
// leaving it behind, counted and pointing at the editor.
TEST_F(EditorTest, SecondOpenReplacesTheFirstWindow) {
    open();
    open();
    EXPECT_TRUE(system.isWindow(window));
    EXPECT_EQ(system.liveWindowCount(), 1);
    EXPECT_EQ(system.windowUserData(window), &editorOf(effect));
    EXPECT_EQ(system.registerCallCount(), 1);
    EXPECT_EQ(system.unregisterCallCount(), 0);

    close();
    EXPECT_EQ(system.liveWindowCount(), 0);
    EXPECT_FALSE(system.isClassRegistered(kClass));
}

TEST_F(EditorTest, CloseWithoutAWindowChangesNoCount) {
    close();
    close();
    EXPECT_EQ(system.unregisterCallCount(), 0);

    EqualizerEffect second(&answeringHost);
    open();
    Window secondWindow = openEditor(second);
    EXPECT_TRUE(system.isWindow(secondWindow));  // the class was registered on the first open
    close();
    close();
    EXPECT_EQ(system.unregisterCallCount(), 0);  // the second editor still has its window
    dispatch(second, vst::effEditClose);
    EXPECT_EQ(system.unregisterCallCount(), 1);
    EXPECT_FALSE(system.isClassRegistered(kClass));
}

}  // namespace
}  // namespace vorn::editor_test
