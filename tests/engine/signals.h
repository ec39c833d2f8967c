#pragma once

// Test signals and measurements shared by the engine tests.

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/equalizer_engine.h"

namespace vorn::engine::testing {

constexpr double kPi = 3.14159265358979323846;

inline std::vector<float> sine(double hz, double sampleRate, double amplitude, int frames,
                               double phase = 0.3) {
    std::vector<float> samples(frames);
    for (int k = 0; k < frames; ++k) {
        samples[k] = static_cast<float>(amplitude * std::sin(2.0 * kPi * hz * k / sampleRate + phase));
    }
    return samples;
}

inline std::vector<float> noise(int frames, uint32_t seed, float amplitude = 1.0f) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
    std::vector<float> samples(frames);
    for (float& s : samples) {
        s = uniform(generator);
    }
    return samples;
}

inline double rms(const std::vector<float>& samples, int from, int to) {
    double sum = 0.0;
    for (int k = from; k < to; ++k) {
        sum += static_cast<double>(samples[k]) * samples[k];
    }
    return std::sqrt(sum / (to - from));
}

inline double decibels(double ratio) { return 20.0 * std::log10(ratio); }

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

inline void setAll(Program& program, float value) {
    for (int band = 0; band < kBandCount; ++band) {
        program.left[band].store(value);
        program.right[band].store(value);
    }
}

// Even bands up, odd bands down: every filter does real work.
inline void setZigzag(Program& program) {
    for (int band = 0; band < kBandCount; ++band) {
        const float value = band % 2 == 0 ? 0.8f : 0.2f;
        program.left[band].store(value);
        program.right[band].store(1.0f - value);
    }
}

// Runs a whole signal through the engine in blocks with processReplacing and
// returns the outputs. The input is taken by value: the engine works in place.
inline Stereo processInBlocks(EqualizerEngine& engine, const Program& program, double sampleRate,
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
