// Engine throughput, with gains that keep every band busy:
//
//   engine/N          both channels through the plain engine (the reference)
//                     in blocks of N frames. Counters: frames (stereo frames
//                     per second), per_frame (time per stereo frame) and
//                     realtime (seconds of 48 kHz audio per second: the
//                     real-time factor).
//   fast/LEVEL/N      the same through the fast engine, for each instruction
//                     set this processor offers.
//   fast_redesign/N   the fast engine when every band changed since the last
//                     block, so all sixty are designed again.
// A table at the end puts the reference and the fast engine side by side.
//   sixty_designs     an empty block, which only designs the sixty filters.
//   band_loop/unchecked/N, band_loop/checked/N
//                     the band loop alone, without and with the unusable-
//                     history check: the difference is the check's price on
//                     clean audio.

#include "tools/bench/engine_bench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/equalizer_engine.h"
#include "engine/fast/fast_equalizer_engine.h"
#include "tools/common/signal.h"

namespace vorn::bench {
namespace {

using namespace vorn::engine;
using vorn::kBandCount;

constexpr double kSampleRate = 48000.0;
constexpr int kBlockSizes[] = {32, 64, 512, 4096};
constexpr float kNoiseAmplitude = 0.5f;

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

// Blocks through an engine; the reference engine, or the fast one at a level.
template <typename Engine>
void runBlocks(benchmark::State& state, Engine& engine, int frames) {
    BandValues bands;
    setZigzag(bands);
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

void referenceBlocks(benchmark::State& state, int frames) {
    EqualizerEngine engine;
    runBlocks(state, engine, frames);
}

void fastBlocks(benchmark::State& state, int frames, SimdLevel level) {
    FastEqualizerEngine engine(level);
    runBlocks(state, engine, frames);
}

// Two programs a step apart in every band, alternated: each block redesigns
// all sixty filters.
void fastRedesignBlocks(benchmark::State& state, int frames) {
    BandValues programs[2];
    setZigzag(programs[0]);
    setZigzag(programs[1]);
    for (int band = 0; band < kBandCount; ++band) {
        programs[1].left[band].store(programs[0].left[band].load() + 0.01f);
        programs[1].right[band].store(programs[0].right[band].load() - 0.01f);
    }
    FastEqualizerEngine engine;
    StereoBlock block(frames);
    int which = 0;
    for (auto _ : state) {
        block.refill();
        float* inputs[2] = {block.left.data(), block.right.data()};
        float* outputs[2] = {block.outLeft.data(), block.outRight.data()};
        engine.processBlock(inputs, outputs, frames, true, programs[which], kSampleRate);
        which ^= 1;
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
                leftFilters[band].discardUnusableHistory();
                rightFilters[band].discardUnusableHistory();
            }
        }
        benchmark::DoNotOptimize(block.left.data());
        benchmark::ClobberMemory();
    }
    countFrames(state, frames);
}

std::string fastName(SimdLevel level, int frames) {
    return "fast/" + std::string(simdLevelName(level)) + "/" + std::to_string(frames);
}

}  // namespace

// Registered here rather than with the macros so that each block size's two
// band loops are listed side by side.
void registerEngineBenchmarks() {
    for (int frames : kBlockSizes) {
        benchmark::RegisterBenchmark(("engine/" + std::to_string(frames)).c_str(),
                                     referenceBlocks, frames);
        for (SimdLevel level : {SimdLevel::sse2, SimdLevel::avx2, SimdLevel::avx512})
            if (simdLevelSupported(level))
                benchmark::RegisterBenchmark(fastName(level, frames).c_str(), fastBlocks, frames,
                                             level);
    }
    for (int frames : kBlockSizes)
        benchmark::RegisterBenchmark(("fast_redesign/" + std::to_string(frames)).c_str(),
                                     fastRedesignBlocks, frames);
    benchmark::RegisterBenchmark("sixty_designs", sixtyDesigns)->Unit(benchmark::kMicrosecond);
    for (int frames : kBlockSizes) {
        const std::string size = std::to_string(frames);
        benchmark::RegisterBenchmark(("band_loop/unchecked/" + size).c_str(), bandLoop<false>,
                                     frames);
        benchmark::RegisterBenchmark(("band_loop/checked/" + size).c_str(), bandLoop<true>,
                                     frames);
    }
}

void printEngineHeading() {
    std::printf("Equalizer engine, both channels, zig-zag gains (+-%.1f dB), %.0f Hz\n",
                gainDb(kRaisedValue), kSampleRate);
}

void printEngineTable(const Figures& figures) {
    if (!figures.hasAny("engine/") && !figures.hasAny("fast/")) return;
    const auto nsPerFrame = [&](const std::string& name) {
        return figures.find(name, "per_frame") * 1e9;
    };
    std::printf("\nns per stereo frame; ratio = reference / fast; the plug-in runs %s\n",
                simdLevelName(bestSimdLevel()));
    std::printf("%6s %10s", "block", "reference");
    for (SimdLevel level : {SimdLevel::sse2, SimdLevel::avx2, SimdLevel::avx512})
        if (simdLevelSupported(level)) std::printf(" %9s %6s", simdLevelName(level), "ratio");
    std::printf(" %10s\n", "redesign");
    for (int frames : kBlockSizes) {
        const double reference = nsPerFrame("engine/" + std::to_string(frames));
        std::printf("%6d %10s", frames, Figures::figure(reference).c_str());
        for (SimdLevel level : {SimdLevel::sse2, SimdLevel::avx2, SimdLevel::avx512}) {
            if (!simdLevelSupported(level)) continue;
            const double fast = nsPerFrame(fastName(level, frames));
            std::printf(" %9s %6s", Figures::figure(fast).c_str(),
                        Figures::ratio(reference, fast).c_str());
        }
        std::printf(" %10s\n",
                    Figures::figure(nsPerFrame("fast_redesign/" + std::to_string(frames))).c_str());
    }
}

}  // namespace vorn::bench
