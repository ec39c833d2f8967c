#pragma once
// An equalizer effect with its editor, driven the way a host and the window
// system drive it: editor opcodes through the dispatcher, paints and mouse
// messages through the window procedure of the headless window system.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/editor_layout.h"
#include "editor/equalizer_editor.h"
#include "host/equalizer_effect.h"
#include "platform/headless/headless_window_system.h"
#include "resources/artwork.h"

namespace vorn::editor_test {

using vorn::Colour;
using platform::HeadlessWindowSystem;
using platform::Window;

inline intptr_t VORN_CDECL answeringHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*,
                                         float) {
    return opcode == vst::audioMasterVersion ? 1 : 0;
}

// The host's frame window. The headless system wants a parent, not a real one.
inline void* const kHostWindow = reinterpret_cast<void*>(0x1000);

inline EqualizerEditor& editorOf(EqualizerEffect& effect) {
    return *static_cast<EqualizerEditor*>(effect.editorObject());
}

inline intptr_t dispatch(EqualizerEffect& effect, int32_t opcode, void* ptr = nullptr,
                         int32_t index = 0) {
    return effect.dispatcher(opcode, index, 0, ptr, 0.0f);
}

inline Window openEditor(EqualizerEffect& effect) {
    dispatch(effect, vst::effEditOpen, kHostWindow);
    return editorOf(effect).openWindowHandle();
}

// Every test starts from an empty window system. A base, so that it runs
// before the fixture's effect loads its bitmaps.
struct FreshWindowSystem {
    FreshWindowSystem() { platform::headlessWindowSystem().reset(); }
};

class EditorTest : public ::testing::Test, private FreshWindowSystem {
protected:
    HeadlessWindowSystem& system = platform::headlessWindowSystem();
    EqualizerEffect effect{&answeringHost};
    Window window = nullptr;

    void open() { window = openEditor(effect); }
    void close() { dispatch(effect, vst::effEditClose); }

    // Messages as the system delivers them.
    void paint() { system.paint(window); }
    void press(int x, int y) { send(platform::kMessageLeftButtonDown, 1, x, y); }
    void move(int x, int y, uintptr_t buttons = 1) { send(platform::kMessageMouseMove, buttons, x, y); }
    void release(int x, int y) { send(platform::kMessageLeftButtonUp, 0, x, y); }
    void send(uint32_t message, uintptr_t wParam, int x, int y) {
        system.sendMessage(window, message, wParam, HeadlessWindowSystem::pointerPosition(x, y));
    }
    void dragTo(int x, int y) {
        press(x, y);
        move(x, y);
        release(x, y);
    }

    float left(int band) { return effect.bandValue(kLeftChannel, band); }
    float right(int band) { return effect.bandValue(kRightChannel, band); }
    void setBand(int band, float leftValue, float rightValue) {
        effect.setBandValue(kLeftChannel, band, leftValue);
        effect.setBandValue(kRightChannel, band, rightValue);
    }
    // Both meters end a block of constant samples at peak - 0.0001; the flat
    // program passes a constant signal unchanged.
    void playBlockWithPeak(float peak) {
        std::vector<float> left(256, peak), right(256, peak), outLeft(256), outRight(256);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        effect.processReplacing(inputs, outputs, 256);
    }

    std::string readout() const { return effect.editorState().displayText; }

    Colour pixel(int x, int y) const { return system.pixel(window, x, y); }

    // Every pixel of an inclusive zone has this colour.
    bool zoneIs(const layout::Zone& zone, Colour colour) const {
        for (int y = zone.top; y <= zone.bottom; ++y)
            for (int x = zone.left; x <= zone.right; ++x)
                if (pixel(x, y) != colour) return false;
        return true;
    }
    // Every pixel of an inclusive zone is as the artwork has it.
    bool zoneShowsArtwork(const layout::Zone& zone) const {
        static const raster::Image background = resources::drawBackground();
        for (int y = zone.top; y <= zone.bottom; ++y)
            for (int x = zone.left; x <= zone.right; ++x)
                if (pixel(x, y) != background.at(x, y)) return false;
        return true;
    }

    // The top row of the one thumb drawn in the columns from x, found by
    // matching the thumb's picture; -1 unless there is exactly one.
    int thumbTop(int x) const {
        static const raster::Image thumb = resources::drawThumb();
        int found = -1;
        for (int top = 0; top + layout::kThumbHeight <= layout::kHeight; ++top) {
            if (!blockMatches(thumb, x, top)) continue;
            if (found != -1) return -1;
            found = top;
        }
        return found;
    }
    // The row of the thumb's black index line, checked across its width.
    int indexLine(int x) const {
        const int top = thumbTop(x);
        if (top < 0) return -1;
        const int row = top + layout::kThumbIndexRow;
        for (int column = x; column < x + layout::kThumbWidth; ++column)
            if (pixel(column, row) != layout::colour::kThumbIndex) return -1;
        return row;
    }

private:
    bool blockMatches(const raster::Image& picture, int x, int y) const {
        for (int row = 0; row < picture.height; ++row)
            for (int column = 0; column < picture.width; ++column)
                if (pixel(x + column, y + row) != picture.at(column, row)) return false;
        return true;
    }
};

// The same, with the editor's window open for the whole test.
class OpenEditorTest : public EditorTest {
protected:
    void SetUp() override {
        open();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { close(); }
};

}  // namespace vorn::editor_test
