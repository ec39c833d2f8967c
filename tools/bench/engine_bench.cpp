// Engine throughput on Google Benchmark, with gains that keep every band busy:
//
//   engine/N          both channels through the whole engine in blocks of N
//                     frames. Counters: frames (stereo frames per second),
//                     per_frame (time per stereo frame) and realtime (seconds
//                     of 48 kHz audio per second: the real-time factor).
//   sixty_designs     an empty block, which only designs the sixty filters.
//   band_loop/unchecked/N, band_loop/checked/N
//                     the band loop alone, without and with the non-finite
//                     history check: the difference is the check's price on
//                     clean audio.
//
// Usage: vorn_bench [--quick] [Google Benchmark's --benchmark_... options]
//   --quick: a short smoke run, figures rough.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/equalizer_engine.h"
#include "tools/common/signal.h"

namespace {

using namespace vorn::engine;
using vorn::kBandCount;

constexpr double kSampleRate = 48000.0;
constexpr int kBlockSizes[] = {32, 64, 512, 4096};
constexpr float kNoiseAmplitude = 0.5f;
// --quick stands for a short minimum time per benchmark.
constexpr const char* kQuickOption = "--quick";
constexpr const char* kQuickRun = "--benchmark_min_time=0.01";

// Even bands up, odd bands down, the channels mirrored.
constexpr float kRaisedValue = 0.8f;
constexpr float kLoweredValue = 0.2f;

float zigzagValue(int band, bool left) {
    return (band % 2 == 0) == left ? kRaisedValue : kLoweredValue;
}

void setZigzag(BandValues& bands) {
    for (int band = 0; band < kBandCount; ++band) {
        bands.left[band].store(zigzagValue(band, true));
        bands.right[band].store(zigzagValue(band, false));
    }
}

// The engine works in place, so every block starts from a fresh copy of the
// source; otherwise the same audio would be equalized over and over until it
// blew up. The copy is a small part of the cost and is included.
struct StereoBlock {
    explicit StereoBlock(int frames)
        : sourceLeft(vorn::signals::noise(frames, 1, kNoiseAmplitude)),
          sourceRight(vorn::signals::noise(frames, 2, kNoiseAmplitude)), left(frames),
          right(frames), outLeft(frames), outRight(frames) {}

    void refill() {
        std::copy(sourceLeft.begin(), sourceLeft.end(), left.begin());
        std::copy(sourceRight.begin(), sourceRight.end(), right.begin());
    }

    std::vector<float> sourceLeft, sourceRight, left, right, outLeft, outRight;
};

void countFrames(benchmark::State& state, int frames) {
    using benchmark::Counter;
    state.counters["frames"] = Counter(frames, Counter::kIsIterationInvariantRate);
    state.counters["per_frame"] =
        Counter(frames, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["realtime"] = Counter(frames / kSampleRate, Counter::kIsIterationInvariantRate);
}

void engineBlocks(benchmark::State& state, int frames) {
    BandValues bands;
    setZigzag(bands);
    EqualizerEngine engine;
    StereoBlock block(frames);
    for (auto _ : state) {
        block.refill();
        float* inputs[2] = {block.left.data(), block.right.data()};
        float* outputs[2] = {block.outLeft.data(), block.outRight.data()};
        engine.processBlock(inputs, outputs, frames, true, bands, kSampleRate);
        benchmark::DoNotOptimize(block.outLeft.data());
        benchmark::ClobberMemory();
    }
    countFrames(state, frames);
}

void sixtyDesigns(benchmark::State& state) {
    BandValues bands;
    setZigzag(bands);
    EqualizerEngine engine;
    for (auto _ : state) {
        engine.processBlock(nullptr, nullptr, 0, true, bands, kSampleRate);
        benchmark::DoNotOptimize(engine.leftFilters[0].b0);
        benchmark::ClobberMemory();
    }
}

// The band loop as the engine runs it, without guard, designs and meters, so
// that the difference between the two variants is the check alone.
template <bool kCheckHistory>
void bandLoop(benchmark::State& state, int frames) {
    BandFilter leftFilters[kBandCount];
    BandFilter rightFilters[kBandCount];
    for (int band = 0; band < kBandCount; ++band) {
        leftFilters[band].design(bandCentreHz[band], kSampleRate, bandwidthOctaves,
                                 gainDb(zigzagValue(band, true)));
        rightFilters[band].design(bandCentreHz[band], kSampleRate, bandwidthOctaves,
                                  gainDb(zigzagValue(band, false)));
    }
    StereoBlock block(frames);
    for (auto _ : state) {
        block.refill();
        for (int band = 0; band < kBandCount; ++band) {
            filterBand(leftFilters[band], rightFilters[band], block.left.data(),
                       block.right.data(), frames);
            if constexpr (kCheckHistory) {
                leftFilters[band].discardNonFiniteHistory();
                rightFilters[band].discardNonFiniteHistory();
            }
        }
        benchmark::DoNotOptimize(block.left.data());
        benchmark::ClobberMemory();
    }
    countFrames(state, frames);
}

// Registered here rather than with the macros so that each block size's two
// band loops are listed side by side.
void registerBenchmarks() {
    for (int frames : kBlockSizes)
        benchmark::RegisterBenchmark(("engine/" + std::to_string(frames)).c_str(), engineBlocks,
                                     frames);
    benchmark::RegisterBenchmark("sixty_designs", sixtyDesigns)->Unit(benchmark::kMicrosecond);
    for (int frames : kBlockSizes) {
        const std::string size = std::to_string(frames);
        benchmark::RegisterBenchmark(("band_loop/unchecked/" + size).c_str(), bandLoop<false>,
                                     frames);
        benchmark::RegisterBenchmark(("band_loop/checked/" + size).c_str(), bandLoop<true>,
                                     frames);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // --quick is ours; everything else goes to Google Benchmark.
    std::vector<char*> arguments(argv, argv + argc);
    for (char*& argument : arguments)
        if (std::strcmp(argument, kQuickOption) == 0) argument = const_cast<char*>(kQuickRun);
    int count = argc;
    arguments.push_back(nullptr);

    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        std::fprintf(stderr, "usage: %s [%s] [--benchmark_...]\n", argv[0], kQuickOption);
        return 2;
    }
    std::printf("Equalizer engine, both channels, zig-zag gains (+-%.1f dB), %.0f Hz\n",
                gainDb(kRaisedValue), kSampleRate);
    std::fflush(stdout);
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
