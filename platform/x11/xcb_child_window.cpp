#include "platform/x11/xcb_child_window.h"

#include <algorithm>
#include <cstring>

namespace vorn::platform {
namespace {

// Glyphs of the standard X cursor font: a pointing hand and the usual arrow.
constexpr const char* kCursorFontName = "cursor";
constexpr uint16_t kHandGlyph = 60;   // hand2
constexpr uint16_t kArrowGlyph = 68;  // left_ptr
constexpr uint16_t kFullIntensity = 0xFFFF;

// Everything the editor reacts to, and the window's own destruction.
constexpr uint32_t kEventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                XCB_EVENT_MASK_STRUCTURE_NOTIFY;
constexpr uint16_t kGrabMask = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                               XCB_EVENT_MASK_POINTER_MOTION;

constexpr size_t kPutImageHeaderBytes = 24;
constexpr size_t kBytesPerRequestUnit = 4;
constexpr uint8_t kEventTypeMask = 0x7F;  // the top bit marks events sent by a client
constexpr uint32_t kNoId = 0xFFFFFFFF;    // what xcb_generate_id answers when out of ids

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply) {
    return {reply, &std::free};
}

const xcb_screen_t* screenWithRoot(xcb_connection_t* connection, xcb_window_t root) {
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem;
         xcb_screen_next(&screens)) {
        if (screens.data->root == root) return screens.data;
    }
    return nullptr;
}

const xcb_visualtype_t* visualOf(const xcb_screen_t& screen, xcb_visualid_t id) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id) return visuals.data;
        }
    }
    return nullptr;
}

bool isTrueColour(const xcb_visualtype_t& visual) {
    return visual._class == XCB_VISUAL_CLASS_TRUE_COLOR ||
           visual._class == XCB_VISUAL_CLASS_DIRECT_COLOR;
}

}  // namespace

std::unique_ptr<XcbChildWindow> XcbChildWindow::create(uint32_t parent, const Rect& bounds,
                                                       const char* name, Presentation how) {
    int screenNumber = 0;
    Connection connection(xcb_connect(nullptr, &screenNumber));
    if (xcb_connection_has_error(connection.get())) return nullptr;

    // Only a real window will do: the geometry alone would accept a pixmap,
    // and an input-only window cannot hold a drawn child.
    xcb_connection_t* link = connection.get();
    const auto attributesCookie = xcb_get_window_attributes(link, parent);
    const auto geometryCookie = xcb_get_geometry(link, parent);
    xcb_generic_error_t* error = nullptr;
    auto attributes = owned(xcb_get_window_attributes_reply(link, attributesCookie, &error));
    std::free(error);
    error = nullptr;
    auto geometry = owned(xcb_get_geometry_reply(link, geometryCookie, &error));
    std::free(error);
    if (!attributes || !geometry || attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY)
        return nullptr;

    // The parent's own screen, which need not be the default one.
    const xcb_screen_t* screen = screenWithRoot(link, geometry->root);
    const xcb_visualtype_t* visual = screen ? visualOf(*screen, screen->root_visual) : nullptr;
    if (!visual || !isTrueColour(*visual)) return nullptr;

    std::unique_ptr<XcbChildWindow> window(
        new XcbChildWindow(connection.release(), *screen, *visual, how));
    if (!window->make(parent, bounds, name)) return nullptr;
    return window;
}

XcbChildWindow::XcbChildWindow(xcb_connection_t* link, const xcb_screen_t& screen,
                               const xcb_visualtype_t& visualType, Presentation how)
    : connection(link),
      depth(screen.root_depth),
      visual(screen.root_visual),
      colormap(screen.default_colormap),
      format(visualType.red_mask, visualType.green_mask, visualType.blue_mask),
      presentation(how) {}

bool XcbChildWindow::make(uint32_t parent, const Rect& bounds, const char* name) {
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) return false;

    window = xcb_generate_id(connection);
    graphics = xcb_generate_id(connection);
    if (window == kNoId || graphics == kNoId) return false;

    // The screen's own visual and colormap rather than the parent's, whose
    // visual may be one this code cannot fill (then the border pixel and the
    // colormap must be given, as here). No background: every pixel is
    // painted, and the server would only flash it first.
    const uint32_t valueMask =
        XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP;
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, kEventMask, colormap};
    const auto cookie = xcb_create_window_checked(
        connection, depth, window, parent, static_cast<int16_t>(bounds.left),
        static_cast<int16_t>(bounds.top), static_cast<uint16_t>(width),
        static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual, valueMask,
        values);
    if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
        std::free(error);  // e.g. the parent went away meanwhile
        window = XCB_NONE;
        return false;
    }

    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, static_cast<uint32_t>(std::strlen(name ? name : "")),
                        name ? name : "");
    const uint32_t noExposures = 0;
    xcb_create_gc(connection, graphics, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);

    // A server without the cursor font only fails these requests: the window
    // then shows its parent's cursor.
    const xcb_font_t cursorFont = xcb_generate_id(connection);
    xcb_open_font(connection, cursorFont, static_cast<uint16_t>(std::strlen(kCursorFontName)),
                  kCursorFontName);
    for (auto [cursor, glyph] : {std::pair{&arrowCursor, kArrowGlyph}, {&handCursor, kHandGlyph}}) {
        *cursor = xcb_generate_id(connection);
        xcb_create_glyph_cursor(connection, *cursor, cursorFont, cursorFont, glyph, glyph + 1, 0,
                                0, 0, kFullIntensity, kFullIntensity, kFullIntensity);
    }
    xcb_close_font(connection, cursorFont);
    xcb_change_window_attributes(connection, window, XCB_CW_CURSOR, &arrowCursor);

    image = xcb_image_create_native(connection, static_cast<uint16_t>(width),
                                    static_cast<uint16_t>(height), XCB_IMAGE_FORMAT_Z_PIXMAP,
                                    depth, nullptr, 0, nullptr);
    maximumRequestBytes = size_t{xcb_get_maximum_request_length(connection)} * kBytesPerRequestUnit;
    if (!image || !image->data || maximumRequestBytes <= kPutImageHeaderBytes + image->stride)
        return false;
    rows = std::make_unique<ServerFrame>(*image, format);
    return true;
}

XcbChildWindow::~XcbChildWindow() {
    if (image) xcb_image_destroy(image);
    if (window != XCB_NONE && !destroyed) {
        xcb_destroy_window(connection, window);
        xcb_flush(connection);
    }
    // Also frees the cursors and the graphics context, and ends a grab.
    xcb_disconnect(connection);
}

void XcbChildWindow::map() {
    xcb_map_window(connection, window);
    xcb_flush(connection);
}

void XcbChildWindow::present(const raster::Image& frame) {
    if (destroyed) return;
    if (presentation == Presentation::changedRows)
        presentChangedRows(frame);
    else
        presentEveryPixel(frame);
}

void XcbChildWindow::markExposed(int top, int bottom) {
    rows->markLost(top, bottom);
    exposed = true;
}

void XcbChildWindow::presentChangedRows(const raster::Image& frame) {
    for (const RowBand& band : rows->take(frame)) sendRows(band.top, band.count);
}

void XcbChildWindow::presentEveryPixel(const raster::Image& frame) {
    if (!exposed && frame.width == shownFrame.width && frame.height == shownFrame.height &&
        frame.pixels == shownFrame.pixels)
        return;
    exposed = false;
    shownFrame = frame;
    const int width = std::min<int>(frame.width, image->width);
    const int height = std::min<int>(frame.height, image->height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            xcb_image_put_pixel(image, x, y, format.pixel(frame.at(x, y)));
    sendRows(0, image->height);
}

void XcbChildWindow::sendRows(int top, int count) {
    // In bands of rows that each fit one request.
    const int rowsPerRequest =
        static_cast<int>((maximumRequestBytes - kPutImageHeaderBytes) / image->stride);
    for (int end = top + count; top < end; top += rowsPerRequest) {
        const int rowsNow = std::min(rowsPerRequest, end - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, graphics, image->width,
                      static_cast<uint16_t>(rowsNow), 0, static_cast<int16_t>(top), 0, depth,
                      static_cast<uint32_t>(rowsNow) * image->stride,
                      image->data + static_cast<size_t>(top) * image->stride);
    }
}

XcbChildWindow::Event XcbChildWindow::nextEvent() {
    Event event(xcb_poll_for_event(connection));
    if (!event) {
        if (xcb_connection_has_error(connection)) destroyed = true;  // the server went away
        return event;
    }
    if ((event->response_type & kEventTypeMask) == XCB_DESTROY_NOTIFY) {
        const auto& notice = reinterpret_cast<const xcb_destroy_notify_event_t&>(*event);
        if (notice.window == window) destroyed = true;
    }
    return event;
}

void XcbChildWindow::grabPointer() {
    if (destroyed) return;
    const auto cookie =
        xcb_grab_pointer(connection, 0, window, kGrabMask, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
    xcb_discard_reply(connection, cookie.sequence);  // a grab that fails changes nothing
}

void XcbChildWindow::ungrabPointer() {
    if (!destroyed) xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
}

void XcbChildWindow::showCursor(Cursor cursor) {
    if (destroyed || cursor == shownCursor) return;
    shownCursor = cursor;
    const xcb_cursor_t id = cursor == Cursor::hand ? handCursor : arrowCursor;
    xcb_change_window_attributes(connection, window, XCB_CW_CURSOR, &id);
}

void XcbChildWindow::flush() { xcb_flush(connection); }

}  // namespace vorn::platform
