#include "editor/frame_content.h"

#include <cstring>

#include "editor/level_bar.h"
#include "editor/slider_geometry.h"

namespace vorn {

bool FrameContent::operator==(const FrameContent& other) const {
    for (int meter = 0; meter < kMeterCount; ++meter) {
        if (levelBars[meter].width != other.levelBars[meter].width ||
            levelBars[meter].colour != other.levelBars[meter].colour)
            return false;
    }
    return thumbTops == other.thumbTops && editLeft == other.editLeft &&
           editRight == other.editRight && editLink == other.editLink &&
           readout == other.readout;
}

FrameContent readFrameContent(const EqualizerModel& model, const EditorState& state) {
    FrameContent content;
    for (int band = 0; band < kBandCount; ++band) {
        for (Channel channel : {kLeftChannel, kRightChannel})
            content.thumbTops[channel][band] =
                slider::thumbTopForValue(model.bandValue(channel, band));
    }
    content.editLeft = state.editLeft;
    content.editRight = state.editRight;
    content.editLink = state.editLink;
    std::memcpy(content.readout.data(), state.displayText,
                strnlen(state.displayText, sizeof state.displayText));
    const float levels[FrameContent::kMeterCount] = {model.inputLevel(), model.outputLevel()};
    for (int meter = 0; meter < FrameContent::kMeterCount; ++meter)
        content.levelBars[meter] = {levelBarWidth(levels[meter]), levelBarColour(levels[meter])};
    return content;
}

}  // namespace vorn
