#pragma once
// The wavefront kernel's careful path: every lane keeps its own history,
// and a lane whose band has no sample of this block at a step keeps it
// untouched. Slower, but it assumes nothing about the history.
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <cstdint>

#include "engine/fast/wavefront_lanes.h"
#include "engine/fast/wavefront_state.h"

namespace vorn::engine::wavefront {
namespace {

template <int kLanes>
struct MaskedRun : Lanes<kLanes> {
    using Base = Lanes<kLanes>;
    using typename Base::Mask;
    using typename Base::Vector;
    using Base::filter;
    using Base::firstInput;
    using Base::kLatency;
    using Base::kOutputRegister;
    using Base::kRegisters;
    using Base::load;
    using Base::store;
    using Base::writeOutput;

    static void run(WavefrontState& s, float* left, float* right, int32_t frames) {
        Vector x1[kRegisters], x2[kRegisters], y1[kRegisters], y2[kRegisters], out[kRegisters];
#pragma GCC unroll 32
        for (int k = 0; k < kRegisters; ++k) {
            x1[k] = load(s.x1, k);
            x2[k] = load(s.x2, k);
            y1[k] = load(s.y1, k);
            y2[k] = load(s.y2, k);
            out[k] = Vector{};
        }
        const double n = frames;
        for (int32_t t = 0; t < frames + kLatency; ++t) {
            const bool fresh = t < frames;
            const Vector firstIn = firstInput(fresh ? left[t] : 0.0, fresh ? right[t] : 0.0, out[kRegisters - 1]);
#pragma GCC unroll 32
            for (int k = kRegisters - 1; k >= 0; --k) {
                const Vector in = k == 0 ? firstIn : out[k - 1];
                const Vector rounded = filter(s.coefficients, k, in, x1[k], x2[k], y1[k], y2[k]);
                const Vector sample = double(t) - load(s.band, k);
                const Mask active = (sample >= 0.0) & (sample < n);
                x2[k] = active ? x1[k] : x2[k];
                x1[k] = active ? in : x1[k];
                y2[k] = active ? y1[k] : y2[k];
                y1[k] = active ? rounded : y1[k];
                out[k] = rounded;
            }
            if (t >= kLatency) writeOutput(left, right, t - kLatency, out[kOutputRegister]);
        }
#pragma GCC unroll 32
        for (int k = 0; k < kRegisters; ++k) {
            store(s.x1, k, x1[k]);
            store(s.x2, k, x2[k]);
            store(s.y1, k, y1[k]);
            store(s.y2, k, y2[k]);
        }
    }
};

}  // namespace
}  // namespace vorn::engine::wavefront
