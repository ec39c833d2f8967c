#pragma once
// Windows, device contexts, bitmaps, fonts and brushes modelled in memory,
// every paint drawing into software pictures. Two window systems stand on
// it: the headless one of the tests and tools, which shows nothing, and the
// X11 one of the Linux module, which puts each finished paint into a real
// window. Everything they draw is drawn here, so the two cannot differ by a
// pixel; what they leave to the derived system is what reaches outside the
// process: capture, cursor, web addresses, input, and showing a frame.
//
// It keeps the Win32 rules an editor can trip over, so that a mistake shows
// here as it would on Windows:
// - a child window needs a registered class and a parent; creating one sends
//   the creation messages (0x0081 and 0x0001) to the class's procedure, and
//   fails if the answer to 0x0081 is 0 or the answer to 0x0001 is -1, as the
//   default procedure's answers never are;
// - a class with live windows cannot be unregistered, nor registered twice;
// - a bitmap can be selected into one memory context at a time, and never
//   into a window's paint context;
// - an object still selected into a context cannot be deleted;
// - a fresh memory context holds a 1x1 stock bitmap, so drawing into it
//   changes nothing until a real bitmap is selected;
// - invalidating no window (a null handle) invalidates every window.
// All of it runs on one thread, like the user-interface thread it stands for.

#include <memory>
#include <string>

#include "common/image.h"
#include "platform/window_system.h"

namespace vorn::platform {

// Messages a window receives from the system itself while it is made and
// destroyed.
enum SystemMessage : uint32_t {
    kMessageCreate = 0x0001,
    kMessageDestroy = 0x0002,
    kMessageNonClientCreate = 0x0081,
    kMessageNonClientDestroy = 0x0082,
};

struct WindowInfo {
    std::string className;
    std::string windowName;
    Window parent = nullptr;
    Rect bounds = {0, 0, 0, 0};  // in the parent, right and bottom exclusive
};

class SoftwareWindowSystem : public WindowSystem {
public:
    ~SoftwareWindowSystem() override;

    Handle loadBitmap(Module module, int resourceId) override;
    Handle createFont(int height, const char* face) override;
    Handle createSolidBrush(Colour colour) override;
    void deleteObject(Handle object) override;

    void registerClass(const char* className, WindowProcedure procedure, Module module) override;
    void unregisterClass(const char* className, Module module) override;
    Window createChildWindow(const char* className, const char* windowName, Window parent, int x,
                             int y, int width, int height, Module module) override;
    void destroyWindow(Window window) override;
    void setWindowUserData(Window window, void* data) override;
    void* windowUserData(Window window) override;
    intptr_t defaultWindowProcedure(Window window, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam) override;
    void invalidate(Window window) override;

    Context beginPaint(Window window) override;
    void endPaint(Window window) override;
    Context createCompatibleContext(Context context) override;
    Handle createCompatibleBitmap(Context context, int width, int height) override;
    Handle select(Context context, Handle object) override;
    void deleteContext(Context context) override;
    void copyPixels(Context target, int x, int y, int width, int height, Context source,
                    int sourceX, int sourceY) override;
    void fillRect(Context context, const Rect& rect, Handle brush) override;
    void setTransparentText(Context context) override;
    void setTextColour(Context context, Colour colour) override;
    void drawText(Context context, int x, int y, const char* text, int length) override;

    // --- For the systems built on this one, tests and tools ---

    // Delivers a message to the window's class procedure and answers its
    // result; 0 for a window that does not exist.
    intptr_t sendMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    intptr_t paint(Window window) { return sendMessage(window, kMessagePaint, 0, 0); }
    // lParam for a mouse message at (x, y): x in the low 16 bits, y in the high.
    static intptr_t pointerPosition(int x, int y);

    // What a window shows: the picture its paints have left on its screen.
    Colour pixel(Window window, int x, int y) const;
    const raster::Image& screen(Window window) const;  // empty for no window
    // The picture in a bitmap, e.g. an editor's off-screen frame.
    const raster::Image& bitmapImage(Handle bitmap) const;  // empty for no bitmap

    bool isWindow(Window window) const;
    WindowInfo windowInfo(Window window) const;
    int invalidationCount(Window window) const;

    bool isClassRegistered(const std::string& className) const;
    int registerCallCount() const;    // every registerClass call, refused ones too
    int unregisterCallCount() const;  // every unregisterClass call, refused ones too
    int liveWindowCount() const;
    // Bitmaps, fonts, brushes and contexts alive, stock objects not counted.
    int liveObjectCount() const;

    // Forgets every window, class and object.
    void reset();

protected:
    SoftwareWindowSystem();

private:
    struct State;
    std::unique_ptr<State> state;
};

}  // namespace vorn::platform
