// The editor library through its one export, as hosts treat it, good and
// bad: opened and closed many times in a real parent window (with and
// without a resize feature, fed every port, hostile values included, and
// idled), refused cleanly without a required feature, for another plug-in,
// or with a parent that is not a window; and the widget it hands out is its
// own child window of the parent. Meant to run under the address sanitizer
// too, which finds what a cycle leaves behind.
//
//   vorn_lv2_ui_stress <UI library> <plug-in URI> [cycles]   (needs DISPLAY)

#include <dlfcn.h>
#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>
#include <xcb/xcb.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "common/editor_layout.h"
#include "host/lv2/lv2_ports.h"

namespace {

using namespace vorn;

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::printf("FAILED: %s\n", what);
        ++failures;
    }
}

// The host's side: a connection and a top-level window to embed in.
class HostWindow {
public:
    HostWindow() : connection(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection)) return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        window = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 800, 300,
                          0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(connection, window);
        pixmap = xcb_generate_id(connection);
        xcb_create_pixmap(connection, screen->root_depth, pixmap, window, 16, 16);
        xcb_flush(connection);
    }
    ~HostWindow() { xcb_disconnect(connection); }
    bool ok() const { return window != 0; }

    // The windows directly inside the host's window.
    std::vector<xcb_window_t> children() {
        std::vector<xcb_window_t> found;
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
        if (!tree) return found;
        const xcb_window_t* list = xcb_query_tree_children(tree);
        found.assign(list, list + xcb_query_tree_children_length(tree));
        std::free(tree);
        return found;
    }

    bool hasSize(xcb_window_t child, int width, int height) {
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, child), nullptr);
        const bool same = geometry && geometry->width == width && geometry->height == height;
        std::free(geometry);
        return same;
    }

    xcb_connection_t* connection;
    xcb_window_t window = 0;
    xcb_pixmap_t pixmap = 0;
};

struct Host {
    int writes = 0;
    int resizes = 0;
    static void write(LV2UI_Controller controller, uint32_t, uint32_t, uint32_t, const void*) {
        ++static_cast<Host*>(controller)->writes;
    }
    static int resize(LV2UI_Feature_Handle handle, int width, int height) {
        auto* host = static_cast<Host*>(handle);
        if (width == layout::kWidth && height == layout::kHeight) ++host->resizes;
        return 0;
    }
};

class Features {
public:
    Features(void* parent, Host* host, bool withParent, bool withIdle, bool withResize)
        : parentFeature{LV2_UI__parent, parent},
          idleFeature{LV2_UI__idleInterface, nullptr},
          resize{host, &Host::resize},
          resizeFeature{LV2_UI__resize, &resize} {
        if (withResize) list.push_back(&resizeFeature);
        if (withParent) list.push_back(&parentFeature);
        if (withIdle) list.push_back(&idleFeature);
        list.push_back(nullptr);
    }
    const LV2_Feature* const* get() const { return list.data(); }

private:
    LV2_Feature parentFeature, idleFeature;
    LV2UI_Resize resize;
    LV2_Feature resizeFeature;
    std::vector<const LV2_Feature*> list;
};

void* windowToken(uint32_t id) { return reinterpret_cast<void*>(static_cast<uintptr_t>(id)); }

void feedEveryPort(const LV2UI_Descriptor* ui, LV2UI_Handle handle, int cycle) {
    const float values[] = {0.0f, 12.0f, -12.0f, 6.0f, std::nanf(""),
                            std::numeric_limits<float>::infinity(), -1e30f, 0.5f};
    for (uint32_t port = 0; port < lv2::kPortCount + 3; ++port) {
        const float value = values[(port + cycle) % std::size(values)];
        ui->port_event(handle, port, sizeof value, 0, &value);
    }
    // Not a float: ignored.
    const double wide = 3.0;
    ui->port_event(handle, lv2::kFirstGainPort, sizeof wide, 0, &wide);
    ui->port_event(handle, lv2::kFirstGainPort, sizeof(float), 77, &wide);
    ui->port_event(handle, lv2::kFirstGainPort, sizeof(float), 0, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <UI library> <plug-in URI> [cycles]\n", argv[0]);
        return 2;
    }
    const int cycles = argc > 3 ? std::atoi(argv[3]) : 100;
    const char* pluginUri = argv[2];
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    const LV2UI_Descriptor* ui = entry ? entry(0) : nullptr;
    if (!ui || entry(1) != nullptr) {
        std::fprintf(stderr, "%s: expected exactly one UI descriptor\n", argv[1]);
        return 1;
    }
    const auto* idle =
        static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    check(idle && idle->idle, "the UI offers the idle interface");
    check(ui->extension_data("urn:nothing") == nullptr, "no other extension data");

    HostWindow parent;
    if (!parent.ok()) {
        std::fprintf(stderr, "no X display (DISPLAY)\n");
        return 1;
    }
    Host host;
    LV2UI_Widget widget = nullptr;

    // Opened and closed many times.
    for (int cycle = 0; cycle < cycles; ++cycle) {
        Features features(windowToken(parent.window), &host, true, true, cycle % 2 == 0);
        LV2UI_Handle handle = ui->instantiate(ui, pluginUri, "/nonexistent", &Host::write, &host,
                                              &widget, features.get());
        check(handle != nullptr, "the UI opens in a real parent window");
        if (!handle) break;
        const auto id = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(widget));
        const std::vector<xcb_window_t> children = parent.children();
        check(children.size() == 1 && children[0] == id,
              "the widget is the UI's own window, the one child of the parent");
        check(parent.hasSize(id, layout::kWidth, layout::kHeight), "the widget is 700 by 180");
        feedEveryPort(ui, handle, cycle);
        for (int tick = 0; tick < 3; ++tick) check(idle->idle(handle) == 0, "idle answers 0");
        ui->cleanup(handle);
    }
    check(parent.children().empty(), "every window is gone after cleanup");
    check(host.resizes == (cycles + 1) / 2, "the host's resize feature learns 700 by 180");
    check(host.writes == 0, "nothing is written without a drag");

    // Refused cleanly.
    struct Refusal {
        const char* what;
        void* parent;
        bool withParent, withIdle;
        const char* uri;
    };
    const Refusal refusals[] = {
        {"no parent feature", windowToken(parent.window), false, true, pluginUri},
        {"no idle interface feature", windowToken(parent.window), true, false, pluginUri},
        {"another plug-in's URI", windowToken(parent.window), true, true, "urn:another"},
        {"a parent of null", nullptr, true, true, pluginUri},
        {"a parent that is a pixmap", windowToken(parent.pixmap), true, true, pluginUri},
        {"a parent id that names nothing", windowToken(0x7fffff0u), true, true, pluginUri},
        {"a parent beyond any X id", reinterpret_cast<void*>(~uintptr_t{0}), true, true, pluginUri},
    };
    for (const Refusal& refusal : refusals) {
        Features features(refusal.parent, &host, refusal.withParent, refusal.withIdle, true);
        widget = nullptr;
        LV2UI_Handle handle = ui->instantiate(ui, refusal.uri, "/nonexistent", &Host::write, &host,
                                              &widget, features.get());
        if (handle) ui->cleanup(handle);
        char what[128];
        std::snprintf(what, sizeof what, "refused: %s", refusal.what);
        check(handle == nullptr, what);
    }
    LV2UI_Handle none = ui->instantiate(ui, pluginUri, "/nonexistent", &Host::write, &host,
                                        &widget, nullptr);
    check(none == nullptr, "refused: no features at all");
    check(parent.children().empty(), "nothing left in the parent after the refusals");
    // A null handle is not a crash either.
    ui->port_event(nullptr, 0, sizeof(float), 0, &host);
    check(idle && idle->idle(nullptr) == 0, "idle with no handle");

    dlclose(library);
    std::printf("%d UI cycles and %zu refusals: %s\n", cycles, std::size(refusals) + 1,
                failures == 0 ? "all as expected" : "FAILED");
    return failures == 0 ? 0 : 1;
}
