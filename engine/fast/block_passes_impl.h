#pragma once
// The passes over a whole block (block_passes.h), written once for any
// register width and compiled once per instruction set
// (block_passes_sse2.cpp, _avx2.cpp, _avx512.cpp), each file with its own
// compiler flags. Whole registers first, then the frames left over one by
// one, as the plain engine's loops do them.
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <cmath>
#include <cstdint>

#include "engine/band_filter.h"
#include "engine/equalizer_engine.h"
#include "engine/fast/block_passes.h"
#include "engine/fast/float_lanes.h"

namespace vorn::engine::passes {
namespace {

template <int kFloats>
struct Passes : FloatLanes<kFloats> {
    using L = FloatLanes<kFloats>;
    static_assert(kMeterChunk % kFloats == 0, "a chunk is whole registers");

    static bool guard(const float* fromLeft, const float* fromRight, float* toLeft, float* toRight,
                      int32_t frames) {
        // A register starts on an even frame, so its even lanes take + and
        // its odd lanes -, as the frames do.
        float alternating[kFloats];
        for (int lane = 0; lane < kFloats; ++lane)
            alternating[lane] = lane % 2 == 0 ? kDenormalGuard : -kDenormalGuard;
        const auto offsets = L::load(alternating);
        const auto limit = L::splat(kLargestUsableHistory);
        auto huge = L::none();
        int32_t k = 0;
        // Each channel read just before it is written, as the plain engine
        // does, so that a host's single array for both comes out alike.
        for (; k + kFloats <= frames; k += kFloats) {
            const auto left = L::load(fromLeft + k);
            huge = L::either(huge, L::above(L::magnitude(left), limit));
            L::store(toLeft + k, L::add(left, offsets));
            const auto right = L::load(fromRight + k);
            huge = L::either(huge, L::above(L::magnitude(right), limit));
            L::store(toRight + k, L::add(right, offsets));
        }
        bool anyHuge = L::any(huge);
        for (; k < frames; ++k) {
            const float offset = k % 2 == 0 ? kDenormalGuard : -kDenormalGuard;
            const float left = fromLeft[k];
            anyHuge |= std::fabs(left) > kLargestUsableHistory;
            toLeft[k] = left + offset;
            const float right = fromRight[k];
            anyHuge |= std::fabs(right) > kLargestUsableHistory;
            toRight[k] = right + offset;
        }
        return anyHuge;
    }

    static bool quietChunk(const float* left, const float* right, float limit) {
        const auto below = L::splat(limit);
        auto quiet = L::every();
        for (int k = 0; k < kMeterChunk; k += kFloats)
            quiet = L::both(quiet, L::both(L::below(L::magnitude(L::load(left + k)), below),
                                           L::below(L::magnitude(L::load(right + k)), below)));
        return L::all(quiet);
    }

    static ChunkPeaks chunkPeaks(const float* left, const float* right, double meter, double fall) {
        constexpr int kHalf = kFloats / 2;
        const auto nothing = L::splat(-1.0f);
        const auto falls = L::splat(fall);
        auto loudest = nothing;
        // Two running maxima, so that no long chain of comparisons stands
        // between one chunk and the next.
        auto lowerBest = L::splat(meter - kMeterChunk * fall);
        auto upperBest = lowerBest;
        for (int k = 0; k < kMeterChunk; k += kFloats) {
            const auto frames = L::larger(L::magnitude(L::load(left + k)),
                                          L::larger(L::magnitude(L::load(right + k)), nothing));
            loudest = L::larger(frames, loudest);
            const auto lowerFalls = L::countdown(kMeterChunk - k);
            const auto upperFalls = L::countdown(kMeterChunk - k - kHalf);
            lowerBest = L::larger(L::subtract(L::lowerHalf(frames), L::multiply(lowerFalls, falls)),
                                  lowerBest);
            upperBest = L::larger(L::subtract(L::upperHalf(frames), L::multiply(upperFalls, falls)),
                                  upperBest);
        }
        return {L::largest(L::larger(lowerBest, upperBest)), L::largest(loudest)};
    }

    static void deliver(const float* left, const float* right, float* outLeft, float* outRight,
                        int32_t frames, bool replacing) {
        int32_t k = 0;
        if (replacing) {
            for (; k + kFloats <= frames; k += kFloats) {
                L::store(outLeft + k, L::load(left + k));
                L::store(outRight + k, L::load(right + k));
            }
        } else {
            for (; k + kFloats <= frames; k += kFloats) {
                L::store(outLeft + k, L::add(L::load(outLeft + k), L::load(left + k)));
                L::store(outRight + k, L::add(L::load(outRight + k), L::load(right + k)));
            }
        }
        if (k == frames) return;
        float* rest[2] = {outLeft + k, outRight + k};
        deliverBlock(left + k, right + k, rest, frames - k, replacing);
    }

    static constexpr BlockPasses table() { return {guard, quietChunk, chunkPeaks, deliver}; }
};

}  // namespace
}  // namespace vorn::engine::passes
