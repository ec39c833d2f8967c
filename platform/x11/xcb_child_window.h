#pragma once
// One editor window on the X server: a child of the host's window, made on a
// connection of its own. X errors come back on this connection only, as
// events that are dropped, so nothing the editor does reaches the host's
// connection or its error handling; closing the connection takes every
// server resource made on it along.

#include <xcb/xcb.h>
#include <xcb/xcb_image.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "common/image.h"
#include "platform/window_system.h"
#include "platform/x11/x11_pixel_format.h"

namespace vorn::platform {

class XcbChildWindow {
public:
    struct FreeEvent {
        void operator()(xcb_generic_event_t* event) const { std::free(event); }
    };
    using Event = std::unique_ptr<xcb_generic_event_t, FreeEvent>;

    // Connects to the display DISPLAY names and makes an unmapped child of
    // `parent` at `bounds`, named `name`. Null if there is no display, if
    // `parent` is no window there, or if its screen has no true-colour
    // visual; nothing is left open then.
    static std::unique_ptr<XcbChildWindow> create(uint32_t parent, const Rect& bounds,
                                                  const char* name);
    ~XcbChildWindow();
    XcbChildWindow(const XcbChildWindow&) = delete;
    XcbChildWindow& operator=(const XcbChildWindow&) = delete;

    void map();
    // Shows the frame's pixels in the window. A frame like the one shown
    // last is sent again only after the server lost the window's contents
    // (markExposed): the editor repaints on every idle call.
    void present(const raster::Image& frame);
    void markExposed() { exposed = true; }
    // The next queued event, never waiting; null when there is none. Notes
    // the window's destruction (e.g. with the host's window) on the way.
    Event nextEvent();
    void grabPointer();
    void ungrabPointer();
    void showCursor(Cursor cursor);
    void flush();

    // Destroyed by the server, e.g. together with its parent; drawing and
    // grabbing stop then.
    bool gone() const { return destroyed; }
    bool needsPaint = true;  // a fresh window has never been drawn

private:
    XcbChildWindow(xcb_connection_t* connection, const xcb_screen_t& screen,
                   const xcb_visualtype_t& visual);
    bool make(uint32_t parent, const Rect& bounds, const char* name);

    xcb_connection_t* connection;
    uint8_t depth;
    xcb_visualid_t visual;
    xcb_colormap_t colormap;
    PixelFormat format;
    xcb_window_t window = XCB_NONE;
    xcb_gcontext_t graphics = XCB_NONE;
    xcb_cursor_t arrowCursor = XCB_NONE;
    xcb_cursor_t handCursor = XCB_NONE;
    xcb_image_t* image = nullptr;  // the frame in the server's own pixel layout
    raster::Image shownFrame;
    bool exposed = true;
    size_t maximumRequestBytes = 0;
    Cursor shownCursor = Cursor::arrow;
    bool destroyed = false;
};

}  // namespace vorn::platform
