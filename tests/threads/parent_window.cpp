#include "tests/threads/parent_window.h"

#include <cstdint>

#include <xcb/xcb.h>

namespace vorn::checks {

namespace {
// Any value will do for a window system that keeps no real windows.
void* const kStandIn = reinterpret_cast<void*>(uintptr_t(0x1000));
constexpr uint16_t kWidth = 700;
constexpr uint16_t kHeight = 180;
}  // namespace

struct ParentWindow::Connection {
    xcb_connection_t* x = nullptr;
    xcb_window_t window = 0;
};

ParentWindow::ParentWindow() : handleValue(kStandIn) {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        xcb_disconnect(x);
        return;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const xcb_window_t window = xcb_generate_id(x);
    xcb_create_window(x, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, kWidth, kHeight, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(x, window);
    xcb_flush(x);
    connection = new Connection{x, window};
    handleValue = reinterpret_cast<void*>(uintptr_t(window));
}

ParentWindow::~ParentWindow() {
    if (!connection) return;
    xcb_destroy_window(connection->x, connection->window);
    xcb_disconnect(connection->x);
    delete connection;
}

std::string ParentWindow::describe() const {
    return connection ? "X11 window " + std::to_string(connection->window) : "a stand-in handle";
}

}  // namespace vorn::checks
