// Engine throughput: stereo frames per second, nanoseconds per stereo frame
// and the real-time factor at 48 kHz, for typical host block sizes, with gains
// that keep every band busy. A second table prices the non-finite history
// check on clean audio by timing the band loop with and without it.
//
// Usage: vorn_bench [--quick]   (--quick: a short smoke run, figures rough)

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "engine/equalizer_engine.h"

namespace {

using namespace vorn::engine;
using Clock = std::chrono::steady_clock;

constexpr double kSampleRate = 48000.0;
constexpr int kBlockSizes[] = {32, 64, 512, 4096};

struct Timing {
    double secondsPerRound = 0.3;
    int rounds = 5;
};

std::vector<float> noise(int frames, uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
    std::vector<float> samples(frames);
    for (float& s : samples) {
        s = uniform(generator);
    }
    return samples;
}

void setZigzag(vorn::Program& program) {
    for (int band = 0; band < kBandCount; ++band) {
        program.left[band].store(band % 2 == 0 ? 0.8f : 0.2f);
        program.right[band].store(band % 2 == 0 ? 0.2f : 0.8f);
    }
}

double zigzagGainDb(int band, bool left) {
    return gainDb((band % 2 == 0) == left ? 0.8f : 0.2f);
}

// The engine works in place, so every block starts from a fresh copy of the
// source; otherwise the same audio would be equalized over and over until it
// blew up. The copy is a small part of the cost and is included.
struct StereoBlock {
    explicit StereoBlock(int frames)
        : sourceLeft(noise(frames, 1)), sourceRight(noise(frames, 2)), left(frames), right(frames),
          outLeft(frames), outRight(frames) {}

    void refill() {
        std::copy(sourceLeft.begin(), sourceLeft.end(), left.begin());
        std::copy(sourceRight.begin(), sourceRight.end(), right.begin());
    }

    std::vector<float> sourceLeft, sourceRight, left, right, outLeft, outRight;
};

// Median over several rounds of the time one call of `run` takes, in seconds.
template <typename Run>
double secondsPerCall(const Timing& timing, Run&& run) {
    // Calibrate the number of calls per round on a short warm-up.
    int64_t calls = 1;
    for (;;) {
        const auto start = Clock::now();
        for (int64_t i = 0; i < calls; ++i) {
            run();
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        if (elapsed > timing.secondsPerRound / 10) {
            calls = std::max<int64_t>(1, static_cast<int64_t>(calls * timing.secondsPerRound / elapsed));
            break;
        }
        calls *= 4;
    }
    std::vector<double> rounds;
    for (int round = 0; round < timing.rounds; ++round) {
        const auto start = Clock::now();
        for (int64_t i = 0; i < calls; ++i) {
            run();
        }
        rounds.push_back(std::chrono::duration<double>(Clock::now() - start).count() / calls);
    }
    std::nth_element(rounds.begin(), rounds.begin() + rounds.size() / 2, rounds.end());
    return rounds[rounds.size() / 2];
}

volatile float sink;  // keeps the results observable

double engineNsPerFrame(const Timing& timing, int frames) {
    vorn::Program program;
    setZigzag(program);
    EqualizerEngine engine;
    StereoBlock block(frames);
    const double seconds = secondsPerCall(timing, [&] {
        block.refill();
        float* inputs[2] = {block.left.data(), block.right.data()};
        float* outputs[2] = {block.outLeft.data(), block.outRight.data()};
        engine.processBlock(inputs, outputs, frames, true, program, kSampleRate);
        sink = block.outLeft[frames - 1];
    });
    return seconds * 1e9 / frames;
}

double designsMicroseconds(const Timing& timing) {
    vorn::Program program;
    setZigzag(program);
    EqualizerEngine engine;
    const double seconds = secondsPerCall(timing, [&] {
        engine.processBlock(nullptr, nullptr, 0, true, program, kSampleRate);
        sink = engine.leftFilters[0].b0;
    });
    return seconds * 1e6;
}

// The band loop as the engine runs it, without guard, designs and meters, so
// that the difference between the two variants is the check alone.
template <bool kCheckHistory>
double bandLoopNsPerFrame(const Timing& timing, int frames) {
    BandFilter leftFilters[kBandCount];
    BandFilter rightFilters[kBandCount];
    for (int band = 0; band < kBandCount; ++band) {
        leftFilters[band].design(bandCentreHz[band], kSampleRate, bandwidthOctaves, zigzagGainDb(band, true));
        rightFilters[band].design(bandCentreHz[band], kSampleRate, bandwidthOctaves, zigzagGainDb(band, false));
    }
    StereoBlock block(frames);
    const double seconds = secondsPerCall(timing, [&] {
        block.refill();
        for (int band = 0; band < kBandCount; ++band) {
            filterBand(leftFilters[band], rightFilters[band], block.left.data(), block.right.data(), frames);
            if constexpr (kCheckHistory) {
                leftFilters[band].discardNonFiniteHistory();
                rightFilters[band].discardNonFiniteHistory();
            }
        }
        sink = block.left[frames - 1];
    });
    return seconds * 1e9 / frames;
}

}  // namespace

int main(int argc, char** argv) {
    Timing timing;
    if (argc > 1 && std::strcmp(argv[1], "--quick") == 0) {
        timing = Timing{0.01, 1};
    } else if (argc > 1) {
        std::fprintf(stderr, "usage: %s [--quick]\n", argv[0]);
        return 2;
    }

    std::printf("Equalizer engine, both channels, zig-zag gains (+-7.2 dB), %.0f Hz\n\n", kSampleRate);
    std::printf("%6s %14s %12s %16s\n", "block", "frames/s", "ns/frame", "x realtime@48k");
    for (int frames : kBlockSizes) {
        const double ns = engineNsPerFrame(timing, frames);
        std::printf("%6d %14.0f %12.1f %16.1f\n", frames, 1e9 / ns, ns, 1e9 / ns / kSampleRate);
    }
    std::printf("\nSixty filter designs (an empty block): %.2f us\n", designsMicroseconds(timing));

    std::printf("\nNon-finite history check on clean audio, band loop only\n\n");
    std::printf("%6s %18s %16s %8s\n", "block", "unchecked ns/frame", "checked ns/frame", "cost");
    for (int frames : kBlockSizes) {
        const double checked = bandLoopNsPerFrame<true>(timing, frames);
        const double unchecked = bandLoopNsPerFrame<false>(timing, frames);
        std::printf("%6d %18.2f %16.2f %7.1f%%\n", frames, unchecked, checked,
                    100.0 * (checked - unchecked) / unchecked);
    }
    return 0;
}
