#pragma once
// Test signals and their measurement.

#include <cmath>
#include <cstddef>
#include <vector>

namespace vorn::testhost {

constexpr double kPi = 3.14159265358979323846;

inline std::vector<float> sine(double frequency, double sampleRate, double amplitude,
                               size_t frames, size_t startFrame = 0) {
    std::vector<float> samples(frames);
    for (size_t k = 0; k < frames; ++k)
        samples[k] = static_cast<float>(
            amplitude * std::sin(2.0 * kPi * frequency * double(startFrame + k) / sampleRate));
    return samples;
}

inline double rms(const std::vector<float>& samples, size_t from = 0) {
    double sum = 0.0;
    for (size_t k = from; k < samples.size(); ++k) sum += double(samples[k]) * samples[k];
    return std::sqrt(sum / double(samples.size() - from));
}

inline double decibels(double ratio) { return 20.0 * std::log10(ratio); }

}  // namespace vorn::testhost
