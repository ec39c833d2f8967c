#include "tests/threads/parent_window.h"

#include <cstdint>
#include <cstdlib>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

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
    xcb_window_t root = 0;
    bool canDrag = false;
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
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(x, &xcb_test_id);
    connection = new Connection{x, window, screen->root, xtest && xtest->present};
    handleValue = reinterpret_cast<void*>(uintptr_t(window));
}

ParentWindow::~ParentWindow() {
    if (!connection) return;
    xcb_destroy_window(connection->x, connection->window);
    xcb_disconnect(connection->x);
    delete connection;
}

void ParentWindow::drag(int x, int fromY, int toY) {
    if (!connection || !connection->canDrag) return;
    constexpr uint8_t kLeftButton = 1;
    xcb_connection_t* c = connection->x;
    // The window sits at the root's origin, so its points are the root's.
    auto moveTo = [&](int y) {
        xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, connection->root,
                            int16_t(x), int16_t(y), 0);
    };
    moveTo(fromY);
    xcb_test_fake_input(c, XCB_BUTTON_PRESS, kLeftButton, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    moveTo(toY);
    xcb_test_fake_input(c, XCB_BUTTON_RELEASE, kLeftButton, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));  // all of it arrived
}

bool ParentWindow::canDrag() const { return connection && connection->canDrag; }

std::string ParentWindow::describe() const {
    return connection ? "X11 window " + std::to_string(connection->window) : "a stand-in handle";
}

}  // namespace vorn::checks
