#pragma once
// The window system of the Linux module. The host hands over its X11 window
// (an XID in the parent pointer); the editor's window becomes a real child of
// it, on a connection of its own (xcb_child_window.h). Everything is drawn by
// the headless system exactly as in the tests and tools, and each finished
// paint is put into the real window, so the two show the same pixels.
//
// Events are read only when the editor asks (processEvents, from the host's
// idle calls): presses, moves and releases go to the window procedure as the
// Win32 mouse messages, exposures and invalidations become one paint. Capture
// is a pointer grab, the cursor comes from the cursor font, and web addresses
// go to xdg-open. All of it runs on the host's user-interface thread.

#include <map>
#include <memory>

#include "platform/headless/headless_window_system.h"
#include "platform/window_system.h"
#include "platform/x11/launched_programs.h"
#include "platform/x11/xcb_child_window.h"

namespace vorn::platform {

class X11WindowSystem final : public WindowSystem {
public:
    // The desktop's opener for web addresses.
    static constexpr const char* kWebAddressOpener = "xdg-open";

    X11WindowSystem();
    ~X11WindowSystem() override;

    Handle loadBitmap(Module module, int resourceId) override;
    Handle createFont(int height, const char* face) override;
    Handle createSolidBrush(Colour colour) override;
    void deleteObject(Handle object) override;

    void registerClass(const char* className, WindowProcedure procedure, Module module) override;
    void unregisterClass(const char* className, Module module) override;
    // `parent` carries the host's X11 window id.
    Window createChildWindow(const char* className, const char* windowName, Window parent, int x,
                             int y, int width, int height, Module module) override;
    void destroyWindow(Window window) override;
    void setWindowUserData(Window window, void* data) override;
    void* windowUserData(Window window) override;
    intptr_t defaultWindowProcedure(Window window, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam) override;
    void invalidate(Window window) override;
    void processEvents(Window window) override;

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

    void setCapture(Window window) override;
    void releaseCapture() override;
    void setCursor(Cursor cursor) override;
    void openWebAddress(const char* address) override;

private:
    XcbChildWindow* shownWindow(Window window) const;
    void deliver(Window window, const xcb_generic_event_t& event);

    // Windows, classes, contexts and pictures, and the frames the paints leave.
    HeadlessWindowSystem drawing;
    std::map<Window, std::unique_ptr<XcbChildWindow>> shown;
    Window dispatching = nullptr;  // whose events are being delivered: the cursor is set on it
    Window captured = nullptr;
    LaunchedPrograms openers;
};

X11WindowSystem& x11WindowSystem();

}  // namespace vorn::platform
