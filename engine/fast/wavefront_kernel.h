#pragma once
// The wavefront kernel, written once for any register width and compiled
// once per instruction set (wavefront_sse2.cpp, _avx2.cpp, _avx512.cpp), each
// file with its own compiler flags, so that nothing else is built for the
// wider sets.
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <cstdint>

#include "engine/band_filter.h"
#include "engine/fast/wavefront_lanes.h"
#include "engine/fast/wavefront_masked.h"
#include "engine/fast/wavefront_state.h"
#include "engine/fast/wavefront_unmasked.h"

namespace vorn::engine::wavefront {
namespace {

template <int kLanes>
struct Kernel : Lanes<kLanes> {
    using Base = Lanes<kLanes>;
    using typename Base::Mask;
    using typename Base::Vector;
    using Base::kRegisters;
    using Base::load;
    using Base::store;

    // As the plain engine does after each band's block: a history that is
    // not finite, or holds a huge value, would recirculate for ever, so it
    // restarts from silence; after a block with a huge input sample, every
    // filter does. Spare lanes too, which carry nothing.
    static void restartUnusable(WavefrontState& s, bool restartAll) {
        const Vector limit = Vector{} + double(kLargestUsableHistory);
        for (int k = 0; k < kRegisters; ++k) {
            const Vector x1 = load(s.x1, k), x2 = load(s.x2, k);
            const Vector y1 = load(s.y1, k), y2 = load(s.y2, k);
            // NaN fails every comparison.
            const Mask keep = restartAll ? Mask{}
                                         : within(x1, limit) & within(x2, limit) &
                                               within(y1, limit) & within(y2, limit);
            store(s.x1, k, keep ? x1 : Vector{});
            store(s.x2, k, keep ? x2 : Vector{});
            store(s.y1, k, keep ? y1 : Vector{});
            store(s.y2, k, keep ? y2 : Vector{});
        }
    }
    static Mask within(Vector value, Vector limit) { return (value <= limit) & (value >= -limit); }

    // Filters a block in place through the whole cascade: a start triangle
    // in which the later bands wait for their first sample, the steps in
    // which every band is busy, and an end triangle in which the earlier
    // bands are done.
    static void run(WavefrontState& s, float* left, float* right, int32_t frames, bool restartAll) {
        if (UnmaskedRun<kLanes>::historyChained(s))
            UnmaskedRun<kLanes>::run(s, left, right, frames);
        else
            MaskedRun<kLanes>::run(s, left, right, frames);
        restartUnusable(s, restartAll);
    }
};

}  // namespace
}  // namespace vorn::engine::wavefront
