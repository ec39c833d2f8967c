#pragma once
// Test signals and their measurement: what the engine's tests, the test host,
// the checks through the entry point and the benchmark send through the
// equalizer, and how they read what comes out.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "common/math_constants.h"

namespace vorn::signals {

// `frames` samples of a sine, the first one being frame `startFrame` of the
// whole signal (so that consecutive blocks join up), shifted by `phase`
// radians.
inline std::vector<float> sine(double hz, double sampleRate, double amplitude, size_t frames,
                               size_t startFrame = 0, double phase = 0.0) {
    std::vector<float> samples(frames);
    for (size_t k = 0; k < frames; ++k)
        samples[k] = static_cast<float>(
            amplitude * std::sin(2.0 * kPi * hz * double(startFrame + k) / sampleRate + phase));
    return samples;
}

// Uniform white noise in -amplitude..amplitude; the same seed, the same noise.
inline std::vector<float> noise(size_t frames, uint32_t seed, float amplitude = 1.0f) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
    std::vector<float> samples(frames);
    for (float& sample : samples) sample = uniform(generator);
    return samples;
}

// Root mean square of samples [from, to), to the end unless told otherwise.
inline double rms(const std::vector<float>& samples, size_t from = 0,
                  size_t to = std::numeric_limits<size_t>::max()) {
    to = std::min(to, samples.size());
    double sum = 0.0;
    for (size_t k = from; k < to; ++k) sum += double(samples[k]) * samples[k];
    return std::sqrt(sum / double(to - from));
}

// An amplitude ratio in decibels.
inline double decibels(double ratio) { return 20.0 * std::log10(ratio); }

}  // namespace vorn::signals
