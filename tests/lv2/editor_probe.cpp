// Looks at and works the equalizer's editor inside another program's window
// (an LV2 host such as jalv), through the X server only, as a user would:
//
//   vorn_editor_probe capture OUT.png
//       waits for the editor's window (700 by 180, named "Window"), lets its
//       picture settle, and writes what the server shows;
//   vorn_editor_probe drag BAND GAIN_DB
//       drags the left slider of BAND from the flat row to the row for
//       GAIN_DB with the real pointer (XTEST).
//
// Needs DISPLAY. Exits 1 when the window does not appear within ten seconds.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/editor_layout.h"
#include "tools/common/editor_demo.h"
#include "tools/common/picture_file.h"
#include "tools/testhost/x11_host_display.h"

namespace {

using namespace vorn;
using namespace std::chrono_literals;

constexpr const char* kEditorWindowName = "Window";

uint32_t findEditor(testhost::X11HostDisplay& display, uint32_t window) {
    for (uint32_t child : display.children(window)) {
        int width = 0, height = 0;
        if (display.name(child) == kEditorWindowName && display.size(child, width, height) &&
            width == layout::kWidth && height == layout::kHeight)
            return child;
        if (uint32_t found = findEditor(display, child)) return found;
    }
    return 0;
}

uint32_t waitForEditor(testhost::X11HostDisplay& display) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        display.sync();
        const uint32_t editor = findEditor(display, display.root());
        if (editor && display.isViewable(editor)) return editor;
        std::this_thread::sleep_for(100ms);
    }
    std::fprintf(stderr, "vorn_editor_probe: no editor window appeared\n");
    return 0;
}

// The host repaints on its idle calls; the picture is taken once two reads
// a few idle calls apart agree.
bool captureSettled(testhost::X11HostDisplay& display, uint32_t editor, tools::Picture& picture) {
    tools::Picture previous;
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::this_thread::sleep_for(200ms);
        if (!display.capture(editor, picture)) return false;
        if (attempt > 0 && picture.pixels == previous.pixels) return true;
        previous = picture;
    }
    return false;
}

void drag(testhost::X11HostDisplay& display, uint32_t editor, int band, double gainDb) {
    const int x = tools::demo::kLeftSliderColumn + layout::kBandPitch * band;
    const int from = tools::demo::kFlatRow;
    const int to = tools::demo::rowForGain(gainDb);
    display.movePointer(editor, x, from);
    display.sync();
    std::this_thread::sleep_for(100ms);
    display.pressLeftButton();
    display.sync();
    std::this_thread::sleep_for(100ms);
    const int step = to < from ? -4 : 4;
    for (int y = from; (step < 0) ? y > to : y < to; y += step) {
        display.movePointer(editor, x, y);
        display.sync();
        std::this_thread::sleep_for(20ms);
    }
    display.movePointer(editor, x, to);
    display.sync();
    std::this_thread::sleep_for(100ms);
    display.releaseLeftButton();
    display.sync();
    std::this_thread::sleep_for(200ms);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (!((command == "capture" && argc == 3) || (command == "drag" && argc == 4))) {
        std::fprintf(stderr, "usage: %s capture OUT.png | drag BAND GAIN_DB\n", argv[0]);
        return 2;
    }
    testhost::X11HostDisplay display;
    std::string error;
    if (!display.connect(error)) {
        std::fprintf(stderr, "vorn_editor_probe: %s\n", error.c_str());
        return 1;
    }
    const uint32_t editor = waitForEditor(display);
    if (!editor) return 1;

    if (command == "capture") {
        tools::Picture picture;
        if (!captureSettled(display, editor, picture) || !tools::writePicture(argv[2], picture)) {
            std::fprintf(stderr, "vorn_editor_probe: could not capture the editor\n");
            return 1;
        }
        return 0;
    }
    drag(display, editor, std::atoi(argv[2]), std::atof(argv[3]));
    return 0;
}
