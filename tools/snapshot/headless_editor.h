#pragma once
// One equalizer instance with its editor open in the headless window system,
// driven only the way a host and a user drive it: dispatcher opcodes, the
// audio entry point, and mouse messages to the editor's window. The snapshot
// and plot tools build their pictures on it.

#include <cstdint>

#include "common/vst2.h"
#include "platform/window_system.h"
#include "common/image.h"
#include "tools/common/picture.h"

namespace vorn {
class EqualizerEffect;
}

namespace vorn::tools {

// The same pixels in the tools' picture type, ready for a file.
Picture toPicture(const raster::Image& image);

class HeadlessEditor {
public:
    HeadlessEditor();  // constructs the effect at the demo rate and opens its editor
    ~HeadlessEditor();  // closes the editor, then the effect
    HeadlessEditor(const HeadlessEditor&) = delete;
    HeadlessEditor& operator=(const HeadlessEditor&) = delete;

    bool isOpen() const { return window != nullptr; }
    vst::AEffect* record() const { return effectRecord; }
    EqualizerEffect& effect() const;

    // A press, a move and a release at one point, as a short drag.
    void drag(int x, int y);
    // A press and a release: a click, e.g. on a switch.
    void click(int x, int y);
    // The demo's sine through the audio entry point, for the level bars.
    void playSine();
    // The demo's drags, then its sine (tools/common/editor_demo.h).
    void playDemo();

    // One host idle call and the paint it brings about; the window's pixels.
    Picture render();

private:
    intptr_t mouse(uint32_t message, uintptr_t buttons, int x, int y);

    vst::AEffect* effectRecord = nullptr;
    platform::Window window = nullptr;
};

}  // namespace vorn::tools
