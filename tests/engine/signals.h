#pragma once

// Test signals and measurements shared by the engine tests.

#include <cmath>
#include <vector>

#include "engine/equalizer_engine.h"
#include "tools/common/signal.h"

namespace vorn::engine::testing {

// The engine tests' sines start 0.3 radians into the period unless told
// otherwise.
inline std::vector<float> sine(double hz, double sampleRate, double amplitude, int frames,
                               double phase = 0.3) {
    return signals::sine(hz, sampleRate, amplitude, static_cast<size_t>(frames), 0, phase);
}

using signals::decibels;
using signals::noise;
using signals::rms;

inline bool allFinite(const std::vector<float>& samples) {
    for (float s : samples) {
        if (!std::isfinite(s)) {
            return false;
        }
    }
    return true;
}

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
};

inline Stereo stereo(const std::vector<float>& both) { return {both, both}; }

inline void setAll(BandValues& program, float value) {
    for (int band = 0; band < kBandCount; ++band) {
        program.left[band].store(value);
        program.right[band].store(value);
    }
}

// Even bands up, odd bands down: every filter does real work.
inline void setZigzag(BandValues& program) {
    for (int band = 0; band < kBandCount; ++band) {
        const float value = band % 2 == 0 ? 0.8f : 0.2f;
        program.left[band].store(value);
        program.right[band].store(1.0f - value);
    }
}

// Runs a whole signal through the engine in blocks with processReplacing and
// returns the outputs. The input is taken by value: the engine works in place.
inline Stereo processInBlocks(EqualizerEngine& engine, const BandValues& program, double sampleRate,
                              Stereo input, int blockSize) {
    const int frames = static_cast<int>(input.left.size());
    Stereo output{std::vector<float>(frames), std::vector<float>(frames)};
    for (int start = 0; start < frames; start += blockSize) {
        const int length = std::min(blockSize, frames - start);
        float* inputs[2] = {input.left.data() + start, input.right.data() + start};
        float* outputs[2] = {output.left.data() + start, output.right.data() + start};
        engine.processBlock(inputs, outputs, length, true, program, sampleRate);
    }
    return output;
}

}  // namespace vorn::engine::testing
