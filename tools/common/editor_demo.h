#pragma once
// The editor picture the main job shows, made the way a user would make it:
// one mouse drag per slider. The headless render and the Windows host under
// Wine replay the same drags and the same audio, so their pictures can be
// compared and the plot shows the program the drags produced.
//
// Left channel: a smile (both ends raised, the middle lowered). Right
// channel: a tilt from bass cut to treble lift with a presence bump.

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "common/editor_layout.h"
#include "engine/bands.h"
#include "common/vst2.h"
#include "tools/common/signal.h"

namespace vorn::tools::demo {

constexpr int kBands = kBandCount;
constexpr int kBandPitch = layout::kBandPitch;
// Columns that hit only one channel's slider with both L and R switches on:
// the middle of the left thumb and of the right thumb.
constexpr int kLeftSliderColumn = layout::leftThumbX(0) + layout::kThumbWidth / 2 - 1;
constexpr int kRightSliderColumn = layout::rightThumbX(0) + layout::kThumbWidth / 2;
// Pointer rows: the index line's row for flat and the travel for 0..1.
constexpr int kFlatRow = layout::kZeroRow - layout::kTravel / 2;
constexpr double kRowsPerDecibel = layout::kTravel / engine::kGainRangeDb;

// Music stand-in for the level bars: a sine through the plug-in that swells
// for a few blocks, so that the bars move while a host's editor shows them,
// and then holds steady long enough for the meters to settle on it.
constexpr double kSineHz = 1000.0;
constexpr double kSwellAmplitudes[] = {0.05, 0.1, 0.2, 0.3, 0.5, 0.7, 0.9};
constexpr int kSwellBlocks = static_cast<int>(std::size(kSwellAmplitudes));
constexpr double kSineAmplitude = 0.4;
constexpr int kSteadyBlocks = 20;
constexpr int kBlocks = kSwellBlocks + kSteadyBlocks;
constexpr double kSampleRate = 48000.0;
constexpr int kBlockFrames = 480;  // ten periods: every block starts the sine afresh

struct Drag {
    int x;
    int y;  // the press, the move and the release all happen here
};

inline double leftGainDb(int band) {
    const double t = (band - 14.5) / 14.5;
    return -3.0 + 11.0 * t * t;
}

inline double rightGainDb(int band) {
    const double bump = (band - 21.0) / 2.5;
    return -6.0 + 12.0 * band / 29.0 + 4.0 * std::exp(-bump * bump);
}

inline int rowForGain(double gainDb) {
    const double clamped = std::min(12.0, std::max(-12.0, gainDb));
    return kFlatRow - static_cast<int>(std::lround(clamped * kRowsPerDecibel));
}

// Every left slider, then every right slider, lowest band first.
inline std::vector<Drag> drags() {
    std::vector<Drag> all;
    for (int band = 0; band < kBands; ++band)
        all.push_back({kLeftSliderColumn + kBandPitch * band, rowForGain(leftGainDb(band))});
    for (int band = 0; band < kBands; ++band)
        all.push_back({kRightSliderColumn + kBandPitch * band, rowForGain(rightGainDb(band))});
    return all;
}

// Block `block` (0 to kBlocks - 1) of the sine through the plug-in's
// processReplacing; the sample rate must already be set to kSampleRate.
inline void playBlock(vst::AEffect* effect, int block) {
    const double amplitude = block < kSwellBlocks ? kSwellAmplitudes[block] : kSineAmplitude;
    auto left = signals::sine(kSineHz, kSampleRate, amplitude, kBlockFrames,
                              static_cast<size_t>(block) * kBlockFrames);
    auto right = left;
    std::vector<float> outLeft(kBlockFrames), outRight(kBlockFrames);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    effect->processReplacing(effect, inputs, outputs, kBlockFrames);
}

// Every block of the sine, so that the meters hold the demo's levels.
inline void playSine(vst::AEffect* effect) {
    for (int block = 0; block < kBlocks; ++block) playBlock(effect, block);
}

}  // namespace vorn::tools::demo
