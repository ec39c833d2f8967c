#include "tools/testhost/x11_host_display.h"

#include <xcb/xcb_image.h>
#include <xcb/xfixes.h>
#include <xcb/xtest.h>

#include <cstring>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace vorn::testhost {
namespace {

constexpr uint8_t kLeftButton = 1;
constexpr uint8_t kEventTypeMask = 0x7F;
constexpr uint32_t kFrameBackground = 0x00C0C0C0;  // grey, so a missing child stands out
constexpr auto kMapWait = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr uint32_t kXfixesMajorVersion = 4;  // the first with cursor images and names
constexpr uint16_t kFullIntensity = 0xFFFF;

// A reply, or null; a request that failed answers null here and sends no
// error event, so that errorCount() counts only what nobody asked for.
template <typename Reply, typename Cookie>
std::unique_ptr<Reply, decltype(&std::free)> ask(
    xcb_connection_t* connection,
    Reply* (*reply)(xcb_connection_t*, Cookie, xcb_generic_error_t**), Cookie cookie) {
    xcb_generic_error_t* error = nullptr;
    Reply* answer = reply(connection, cookie, &error);
    std::free(error);
    return {answer, &std::free};
}

// A true-colour channel read back to 8 bits.
uint8_t channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    const uint32_t maximum = mask >> shift;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255u / maximum);
}

// An 8-bit channel placed into a true-colour mask.
uint32_t placed(uint8_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    const uint32_t maximum = mask >> shift;
    return (value * maximum / 255u) << shift;
}

const xcb_visualtype_t* findVisual(const xcb_screen_t& screen, xcb_visualid_t id) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem;
         xcb_depth_next(&depths))
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == id) return visuals.data;
    return nullptr;
}

}  // namespace

X11HostDisplay::~X11HostDisplay() {
    if (connection) xcb_disconnect(connection);
}

bool X11HostDisplay::connect(std::string& error) {
    int screenNumber = 0;
    connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        error = "no X display (DISPLAY is \"" +
                std::string(std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "") + "\")";
        return false;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int skip = 0; skip < screenNumber && screens.rem; ++skip) xcb_screen_next(&screens);
    screen = screens.data;
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection, &xcb_test_id);
    if (!xtest || !xtest->present) {
        error = "the X server has no XTEST extension";
        return false;
    }
    // XFIXES answers nothing before its version has been asked for.
    auto xfixes = ask(connection, xcb_xfixes_query_version_reply,
                      xcb_xfixes_query_version(connection, kXfixesMajorVersion, 0));
    if (!xfixes || xfixes->major_version < kXfixesMajorVersion) {
        error = "the X server has no XFIXES extension";
        return false;
    }
    return true;
}

uint32_t X11HostDisplay::createFrame(int x, int y, int width, int height) {
    const uint32_t window = xcb_generate_id(connection);
    const uint32_t values[] = {kFrameBackground, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root,
                      static_cast<int16_t>(x), static_cast<int16_t>(y),
                      static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    map(window);
    const auto deadline = std::chrono::steady_clock::now() + kMapWait;
    while (!isViewable(window)) {
        if (std::chrono::steady_clock::now() > deadline) return 0;
        std::this_thread::sleep_for(kPollInterval);
    }
    return window;
}

void X11HostDisplay::destroyWindow(uint32_t window) {
    xcb_destroy_window(connection, window);
    sync();
}

void X11HostDisplay::unmap(uint32_t window) {
    xcb_unmap_window(connection, window);
    sync();
}

void X11HostDisplay::map(uint32_t window) {
    xcb_map_window(connection, window);
    sync();
}

uint32_t X11HostDisplay::unusedId() { return xcb_generate_id(connection); }

uint32_t X11HostDisplay::createPixmap() {
    const uint32_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, screen->root_depth, pixmap, screen->root, 16, 16);
    sync();
    return pixmap;
}

void X11HostDisplay::freePixmap(uint32_t pixmap) {
    xcb_free_pixmap(connection, pixmap);
    sync();
}

std::vector<uint32_t> X11HostDisplay::children(uint32_t window) {
    auto tree = ask(connection, xcb_query_tree_reply, xcb_query_tree(connection, window));
    if (!tree) return {};
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return std::vector<uint32_t>(first, first + xcb_query_tree_children_length(tree.get()));
}

bool X11HostDisplay::size(uint32_t window, int& width, int& height) {
    auto geometry = ask(connection, xcb_get_geometry_reply, xcb_get_geometry(connection, window));
    if (!geometry) return false;
    width = geometry->width;
    height = geometry->height;
    return true;
}

uint32_t X11HostDisplay::parentOf(uint32_t window) {
    auto tree = ask(connection, xcb_query_tree_reply, xcb_query_tree(connection, window));
    return tree ? tree->parent : 0;
}

bool X11HostDisplay::isViewable(uint32_t window) {
    auto attributes = ask(connection, xcb_get_window_attributes_reply,
                          xcb_get_window_attributes(connection, window));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::string X11HostDisplay::name(uint32_t window) {
    auto property = ask(
        connection, xcb_get_property_reply,
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 0, 64));
    if (!property) return "";
    const auto* text = static_cast<const char*>(xcb_get_property_value(property.get()));
    return std::string(text, static_cast<size_t>(xcb_get_property_value_length(property.get())));
}

uint32_t X11HostDisplay::root() const { return screen ? screen->root : 0; }

bool X11HostDisplay::capture(uint32_t window, tools::Picture& picture) {
    int width = 0, height = 0;
    if (!size(window, width, height)) return false;
    auto attributes = ask(connection, xcb_get_window_attributes_reply,
                          xcb_get_window_attributes(connection, window));
    const xcb_visualtype_t* visual = attributes ? findVisual(*screen, attributes->visual) : nullptr;
    if (!visual) return false;
    xcb_image_t* image = xcb_image_get(connection, window, 0, 0, static_cast<uint16_t>(width),
                                       static_cast<uint16_t>(height), ~0u,
                                       XCB_IMAGE_FORMAT_Z_PIXMAP);
    if (!image) return false;
    picture = tools::Picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = xcb_image_get_pixel(image, x, y);
            picture.set(x, y,
                        tools::Rgb{channel(pixel, visual->red_mask),
                                   channel(pixel, visual->green_mask),
                                   channel(pixel, visual->blue_mask)});
        }
    xcb_image_destroy(image);
    return true;
}

void X11HostDisplay::fill(uint32_t window, int x, int y, int width, int height,
                          tools::Rgb colour) {
    auto attributes = ask(connection, xcb_get_window_attributes_reply,
                          xcb_get_window_attributes(connection, window));
    const xcb_visualtype_t* visual = attributes ? findVisual(*screen, attributes->visual) : nullptr;
    if (!visual) return;
    const uint32_t pixel = placed(colour.red, visual->red_mask) |
                           placed(colour.green, visual->green_mask) |
                           placed(colour.blue, visual->blue_mask);
    const xcb_gcontext_t graphics = xcb_generate_id(connection);
    xcb_create_gc(connection, graphics, window, XCB_GC_FOREGROUND, &pixel);
    const xcb_rectangle_t area = {static_cast<int16_t>(x), static_cast<int16_t>(y),
                                  static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
    xcb_poly_fill_rectangle(connection, window, graphics, 1, &area);
    xcb_free_gc(connection, graphics);
    sync();
}

void X11HostDisplay::movePointer(uint32_t window, int x, int y) {
    auto position = ask(connection, xcb_translate_coordinates_reply,
                        xcb_translate_coordinates(connection, window, screen->root,
                                                  static_cast<int16_t>(x),
                                                  static_cast<int16_t>(y)));
    if (!position) return;
    xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen->root,
                        position->dst_x, position->dst_y, 0);
    sync();
}

void X11HostDisplay::pressLeftButton() {
    xcb_test_fake_input(connection, XCB_BUTTON_PRESS, kLeftButton, XCB_CURRENT_TIME, XCB_NONE, 0,
                        0, 0);
    sync();
}

void X11HostDisplay::releaseLeftButton() {
    xcb_test_fake_input(connection, XCB_BUTTON_RELEASE, kLeftButton, XCB_CURRENT_TIME, XCB_NONE,
                        0, 0, 0);
    sync();
}

bool X11HostDisplay::pointerGrabbedElsewhere() {
    auto grab = ask(connection, xcb_grab_pointer_reply,
                    xcb_grab_pointer(connection, 0, screen->root, 0, XCB_GRAB_MODE_ASYNC,
                                     XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME));
    if (grab && grab->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
        sync();
        return false;
    }
    return grab && grab->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}

CursorImage X11HostDisplay::cursor() {
    CursorImage image;
    auto reply = ask(connection, xcb_xfixes_get_cursor_image_reply,
                     xcb_xfixes_get_cursor_image(connection));
    if (!reply) return image;
    image.width = reply->width;
    image.height = reply->height;
    image.hotX = reply->xhot;
    image.hotY = reply->yhot;
    const uint32_t* first = xcb_xfixes_get_cursor_image_cursor_image(reply.get());
    image.pixels.assign(first,
                        first + xcb_xfixes_get_cursor_image_cursor_image_length(reply.get()));
    return image;
}

void X11HostDisplay::setFontCursor(uint32_t window, uint16_t glyph) {
    const xcb_font_t font = xcb_generate_id(connection);
    const char* name = "cursor";
    xcb_open_font(connection, font, static_cast<uint16_t>(std::strlen(name)), name);
    const xcb_cursor_t cursor = xcb_generate_id(connection);
    xcb_create_glyph_cursor(connection, cursor, font, font, glyph, glyph + 1, 0, 0, 0,
                            kFullIntensity, kFullIntensity, kFullIntensity);
    xcb_change_window_attributes(connection, window, XCB_CW_CURSOR, &cursor);
    xcb_free_cursor(connection, cursor);  // the window keeps it while it uses it
    xcb_close_font(connection, font);
    sync();
}

void X11HostDisplay::clearCursor(uint32_t window) {
    const uint32_t none = XCB_NONE;
    xcb_change_window_attributes(connection, window, XCB_CW_CURSOR, &none);
    sync();
}

void X11HostDisplay::sync() {
    ask(connection, xcb_get_input_focus_reply, xcb_get_input_focus(connection));
}

void X11HostDisplay::readEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        if ((event->response_type & kEventTypeMask) == 0) ++errors;
        std::free(event);
    }
}

int X11HostDisplay::errorCount() {
    sync();
    readEvents();
    return errors;
}

}  // namespace vorn::testhost
