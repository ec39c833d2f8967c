#pragma once
// The passes over a whole block (block_passes.h), written once for any
// register width and compiled once per instruction set (block_passes_sse2.cpp,
// _avx2.cpp, _avx512.cpp), each file with its own compiler flags. The guard
// and the delivery take whole registers first, then the frames left over one
// by one, as the plain engine's loops do them; the meters have a rule of
// their own (meter_chunks.h).
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <cmath>
#include <cstdint>

#include "engine/band_filter.h"
#include "engine/equalizer_engine.h"
#include "engine/fast/block_passes.h"
#include "engine/fast/float_lanes.h"
#include "engine/fast/meter_chunks.h"

namespace vorn::engine::passes {
namespace {

template <int kFloats>
struct Passes : FloatLanes<kFloats> {
    using L = FloatLanes<kFloats>;

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

    static constexpr BlockPasses table() {
        return {guard, MeterChunks<kFloats>::afterFrames, deliver};
    }
};

}  // namespace
}  // namespace vorn::engine::passes
