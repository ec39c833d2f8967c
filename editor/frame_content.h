#pragma once
// What one frame of the editor shows, read once from the effect: the rows of
// the sixty thumbs, the three switches, the read-out text and the two level
// bars as they are drawn. A paint draws exactly what it read; where the
// window keeps showing its last frame (X11), an idle call that reads the same
// again needs no paint.

#include <array>

#include "common/bands.h"
#include "common/geometry.h"
#include "editor/editor_state.h"
#include "editor/equalizer_model.h"

namespace vorn {

struct LevelBarLook {
    int width;  // pixels, 0 for none
    Colour colour;
};

struct FrameContent {
    enum Meter { kInputMeter = 0, kOutputMeter = 1, kMeterCount = 2 };

    std::array<std::array<int, kBandCount>, kChannelCount> thumbTops{};
    bool editLeft = false;
    bool editRight = false;
    bool editLink = false;
    std::array<char, kDisplayTextSize> readout{};  // up to the first NUL, zeros after it
    std::array<LevelBarLook, kMeterCount> levelBars{};

    bool operator==(const FrameContent& other) const;
    bool operator!=(const FrameContent& other) const { return !(*this == other); }
};

// Band values are read for the program current at each call, as the paint
// has always read them; a level is read once, so its bar's width and colour
// agree.
FrameContent readFrameContent(const EqualizerModel& model, const EditorState& state);

}  // namespace vorn
