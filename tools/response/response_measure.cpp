#include "tools/response/response_measure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

#include "common/math_constants.h"
#include "engine/bands.h"
#include "engine/equalizer_engine.h"

namespace vorn::response {

namespace {

constexpr double kAmplitude = 0.25;
constexpr int kBlockFrames = 1024;

// A boosted band rings for about 2.75 / f seconds (one time constant at
// +12 dB); forty periods leave well under 0.001 dB of it, and a tenth of a
// second covers the bands far away. The sine fades in over the first half of
// that time so that its onset hardly excites bands far from it.
constexpr double kSettlePeriods = 40.0;
constexpr double kMinSettleSeconds = 0.1;
constexpr double kMinMeasureSeconds = 0.1;

struct Sums {
    double input = 0.0, left = 0.0, right = 0.0;
};

ResponsePoint measureOne(const engine::BandValues& program, double sampleRate, double hz) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (!(hz > 0.0 && hz < sampleRate / 2.0)) {
        return {hz, nan, nan};
    }
    const double settleSeconds = std::max(kMinSettleSeconds, kSettlePeriods / hz);
    const int64_t settleFrames = static_cast<int64_t>(settleSeconds * sampleRate);
    const int64_t fadeFrames = settleFrames / 2;
    // A whole number of periods, so the RMS carries no partial-period ripple.
    const double cycles = std::ceil(kMinMeasureSeconds * hz);
    const int64_t measureFrames = std::llround(cycles * sampleRate / hz);
    const int64_t totalFrames = settleFrames + measureFrames;

    engine::EqualizerEngine equalizer;
    float left[kBlockFrames], right[kBlockFrames], outLeft[kBlockFrames], outRight[kBlockFrames];
    Sums sums;
    const double step = 2.0 * kPi * hz / sampleRate;
    for (int64_t start = 0; start < totalFrames; start += kBlockFrames) {
        const int frames = static_cast<int>(std::min<int64_t>(kBlockFrames, totalFrames - start));
        for (int k = 0; k < frames; ++k) {
            const int64_t n = start + k;
            const double fade = n < fadeFrames ? 0.5 - 0.5 * std::cos(kPi * n / fadeFrames) : 1.0;
            left[k] = right[k] = static_cast<float>(kAmplitude * fade * std::sin(step * n));
            if (n >= settleFrames) {
                sums.input += static_cast<double>(left[k]) * left[k];
            }
        }
        float* inputs[2] = {left, right};
        float* outputs[2] = {outLeft, outRight};
        equalizer.processBlock(inputs, outputs, frames, true, program, sampleRate);
        for (int k = 0; k < frames; ++k) {
            if (start + k >= settleFrames) {
                sums.left += static_cast<double>(outLeft[k]) * outLeft[k];
                sums.right += static_cast<double>(outRight[k]) * outRight[k];
            }
        }
    }
    return {hz, 10.0 * std::log10(sums.left / sums.input), 10.0 * std::log10(sums.right / sums.input)};
}

}  // namespace

std::vector<ResponsePoint> measureResponse(const engine::BandValues& program, double sampleRate,
                                           const std::vector<double>& frequencies) {
    // Every frequency gets its own engine, so the points are independent and
    // can be shared out among the cores.
    std::vector<ResponsePoint> points(frequencies.size());
    const size_t workers = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    auto measureShare = [&](size_t first) {
        for (size_t i = first; i < frequencies.size(); i += workers) {
            points[i] = measureOne(program, sampleRate, frequencies[i]);
        }
    };
    std::vector<std::thread> threads;
    for (size_t worker = 1; worker < workers; ++worker) {
        threads.emplace_back(measureShare, worker);
    }
    measureShare(0);
    for (std::thread& thread : threads) {
        thread.join();
    }
    return points;
}

std::vector<double> logSweep(double lowHz, double highHz, int pointsPerOctave) {
    std::vector<double> frequencies;
    const double octaves = std::log2(highHz / lowHz);
    const int steps = static_cast<int>(std::floor(octaves * pointsPerOctave + 1e-9));
    for (int i = 0; i <= steps; ++i) {
        frequencies.push_back(lowHz * std::exp2(static_cast<double>(i) / pointsPerOctave));
    }
    if (frequencies.back() < highHz * (1.0 - 1e-9)) {
        frequencies.push_back(highHz);
    }
    return frequencies;
}

std::vector<double> bandCentres() {
    return {std::begin(engine::bandCentreHz), std::end(engine::bandCentreHz)};
}

}  // namespace vorn::response
