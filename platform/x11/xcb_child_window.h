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
#include "platform/x11/server_frame.h"
#include "platform/x11/x11_pixel_format.h"

namespace vorn::platform {

// How a finished frame reaches the window.
enum class Presentation {
    // The rows that differ from what the window shows, or that the server
    // lost, each converted a row at a time into the server's layout.
    changedRows,
    // The way frames were presented before: every pixel converted with
    // xcb_image_put_pixel and every row sent whenever the frame differs from
    // the last one. Kept as the reference the benchmark measures against.
    everyPixel,
};

class XcbChildWindow {
public:
    struct FreeEvent {
        void operator()(xcb_generic_event_t* event) const { std::free(event); }
    };
    using Event = std::unique_ptr<xcb_generic_event_t, FreeEvent>;

    // Connects to the display DISPLAY names and makes an unmapped child of
    // `parent` at `bounds`, named `name`, which presents its frames `how`.
    // Null if there is no display, if `parent` is no window there, or if its
    // screen has no true-colour visual; nothing is left open then.
    static std::unique_ptr<XcbChildWindow> create(uint32_t parent, const Rect& bounds,
                                                  const char* name, Presentation how);
    ~XcbChildWindow();
    XcbChildWindow(const XcbChildWindow&) = delete;
    XcbChildWindow& operator=(const XcbChildWindow&) = delete;

    void map();
    // Shows the frame's pixels in the window, sending what the presentation
    // asks for; nothing when the frame matches what the window shows.
    void present(const raster::Image& frame);
    // The server lost the contents of rows top to bottom - 1 (an exposure).
    void markExposed(int top, int bottom);
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
    // The window's id on the X server, as hosts that embed it by id need.
    uint32_t id() const { return window; }
    bool needsPaint = true;  // a fresh window has never been drawn

private:
    XcbChildWindow(xcb_connection_t* connection, const xcb_screen_t& screen,
                   const xcb_visualtype_t& visual, Presentation how);
    bool make(uint32_t parent, const Rect& bounds, const char* name);
    void presentChangedRows(const raster::Image& frame);
    void presentEveryPixel(const raster::Image& frame);
    // Rows top to top + count - 1 of the image, in requests the server takes.
    void sendRows(int top, int count);

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
    Presentation presentation;
    std::unique_ptr<ServerFrame> rows;  // changedRows: what the window shows, by row
    raster::Image shownFrame;           // everyPixel: the frame shown last
    bool exposed = true;                // everyPixel: the window's contents were lost
    size_t maximumRequestBytes = 0;
    Cursor shownCursor = Cursor::arrow;
    bool destroyed = false;
};

}  // namespace vorn::platform
