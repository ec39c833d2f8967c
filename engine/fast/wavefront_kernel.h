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
#include "engine/fast/wavefront_neighbours.h"
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
        Mask keep[kRegisters];
        Mask kept = ~Mask{};
#pragma GCC unroll 32
        for (int k = 0; k < kRegisters; ++k) {
            // NaN fails every comparison.
            keep[k] = restartAll ? Mask{}
                                 : within(load(s.x1, k), limit) & within(load(s.x2, k), limit) &
                                       within(load(s.y1, k), limit) & within(load(s.y2, k), limit);
            kept &= keep[k];
        }
        // Nearly always every history is usable, and nothing is written.
        bool all = true;
        for (int lane = 0; lane < kLanes; ++lane) all &= kept[lane] != 0;
        if (all) return;
        for (int k = 0; k < kRegisters; ++k) {
            store(s.x1, k, keep[k] ? load(s.x1, k) : Vector{});
            store(s.x2, k, keep[k] ? load(s.x2, k) : Vector{});
            store(s.y1, k, keep[k] ? load(s.y1, k) : Vector{});
            store(s.y2, k, keep[k] ? load(s.y2, k) : Vector{});
        }
    }
    static Mask within(Vector value, Vector limit) { return (value <= limit) & (value >= -limit); }

    // Filters a block in place through the whole cascade: a start triangle
    // in which the later bands wait for their first sample, the steps in
    // which every band is busy, and an end triangle in which the earlier
    // bands are done.
    static void run(WavefrontState& s, float* left, float* right, int32_t frames, bool restartAll) {
        if constexpr (kLanes == 8) {
            // Short blocks are mostly triangle, and on the widest registers
            // the kernel of neighbouring bands skips most of what waits
            // there. It looks at the histories as it leaves them.
            using Neighbours = NeighbourRun<kLanes>;
            if (frames >= Neighbours::kShortestBlock && frames <= Neighbours::kLongestBlock) {
                if (!Neighbours::run(s, left, right, frames) || restartAll)
                    restartUnusable(s, restartAll);
                return;
            }
        }
        if (UnmaskedRun<kLanes>::historyChained(s))
            UnmaskedRun<kLanes>::run(s, left, right, frames);
        else
            MaskedRun<kLanes>::run(s, left, right, frames);
        restartUnusable(s, restartAll);
    }
};

}  // namespace
}  // namespace vorn::engine::wavefront
