#pragma once
// The window system of the Linux module. The host hands over its X11 window
// (an XID in the parent pointer); the editor's window becomes a real child of
// it, on a connection of its own (xcb_child_window.h). Everything is drawn by
// the software window system exactly as in the tests and tools, and each
// finished paint is put into the real window, so the two show the same
// pixels. The server keeps what the window shows, so a paint is needed only
// when something shown changed or the server lost the window's contents, and
// only the rows that changed are sent.
//
// Input is read only when the editor asks (deliverInput, from the host's idle
// calls): presses, moves and releases go to the window procedure as the
// Win32 mouse messages. Exposures and invalidations become one paint when the
// editor updates the window. Capture is a pointer grab, the cursor comes from
// the cursor font, and web addresses go to xdg-open. All of it runs on the
// host's user-interface thread.

#include <map>
#include <memory>

#include "platform/software/software_window_system.h"
#include "platform/x11/launched_programs.h"
#include "platform/x11/xcb_child_window.h"

namespace vorn::platform {

class X11WindowSystem final : public SoftwareWindowSystem {
public:
    // The desktop's opener for web addresses.
    static constexpr const char* kWebAddressOpener = "xdg-open";

    X11WindowSystem();
    ~X11WindowSystem() override;

    // `parent` carries the host's X11 window id.
    Window createChildWindow(const char* className, const char* windowName, Window parent, int x,
                             int y, int width, int height, Module module) override;
    void destroyWindow(Window window) override;
    void invalidate(Window window) override;
    void deliverInput(Window window) override;
    void updateWindow(Window window) override;
    bool skipsUnchangedFrames() const override;

    void endPaint(Window window) override;

    void setCapture(Window window) override;
    void releaseCapture() override;
    void setCursor(Cursor cursor) override;
    void openWebAddress(const char* address) override;

    // How the windows opened from now on present their frames; changed rows
    // unless the benchmark asks for the reference, under which every idle
    // call also composes a frame.
    void setPresentation(Presentation how) { presentation = how; }

    // The X11 id of a window made here, 0 for any other: for hosts that take
    // the editor's own window by id (an LV2 X11 UI hands it over).
    uint32_t windowId(Window window) const;

private:
    XcbChildWindow* shownWindow(Window window) const;
    void deliver(Window window, const xcb_generic_event_t& event);

    std::map<Window, std::unique_ptr<XcbChildWindow>> shown;
    Window dispatching = nullptr;  // whose events are being delivered: the cursor is set on it
    Window captured = nullptr;
    LaunchedPrograms openers;
    Presentation presentation = Presentation::changedRows;
};

X11WindowSystem& x11WindowSystem();

}  // namespace vorn::platform
