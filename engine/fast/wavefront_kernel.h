#pragma once
// The wavefront kernel, written once for any register width and compiled
// once per instruction set (wavefront_sse2.cpp, _avx2.cpp, _avx512.cpp), each
// file with its own compiler flags, so that nothing else is built for the
// wider sets.
//
// Every lane performs exactly the plain engine's step: the five products of
// float values formed in double, summed from left to right, rounded once to
// float; the history holds those floats. No fused multiply-add is allowed
// (-ffp-contract=off), so the bits equal the plain engine's.
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <immintrin.h>

#include <cstdint>

#include "engine/fast/wavefront_state.h"

namespace vorn::engine::wavefront {
namespace {

// Vectors of doubles and of lane masks.
template <int kLanes>
struct Vectors;
#define VORN_VECTORS(lanes)                                                   \
    template <>                                                               \
    struct Vectors<lanes> {                                                   \
        typedef double Vector __attribute__((vector_size(lanes * 8)));        \
        typedef int64_t Mask __attribute__((vector_size(lanes * 8)));         \
    };
VORN_VECTORS(2)
VORN_VECTORS(4)
VORN_VECTORS(8)
#undef VORN_VECTORS

template <int kLanes>
struct Kernel {
    using Vector = typename Vectors<kLanes>::Vector;
    using Mask = typename Vectors<kLanes>::Mask;

    static constexpr LaneLayout layout = {kLanes, (kBandCount + kLanes / 2 - 1) / (kLanes / 2)};
    static constexpr int kRegisters = layout.registers;
    static constexpr int kLatency = kBandCount - 1;  // steps from band 0 to band 29
    static constexpr int kOutputRegister = (kBandCount - 1) % kRegisters;
    static constexpr int kOutputLane = 2 * ((kBandCount - 1) / kRegisters);

    static Vector load(const double* lanes, int index) {
        return reinterpret_cast<const Vector*>(lanes)[index];
    }
    static void store(double* lanes, int index, Vector value) {
        reinterpret_cast<Vector*>(lanes)[index] = value;
    }

    // The first register's input: the new sample pair in its first two lanes,
    // and in the others the last register's output moved up by one band.
    // In registers throughout: building it lane by lane through memory
    // would stall the chain that runs from the last register to the first.
    static Vector firstInput(double left, double right, Vector last) {
        const __m128d pair = _mm_set_pd(right, left);
        if constexpr (kLanes == 8) {
            // The pair in the top two lanes, then the two vectors joined and
            // moved down by six lanes.
            const __m512d pairs = _mm512_castps_pd(_mm512_broadcast_f32x4(_mm_castpd_ps(pair)));
            return Vector(_mm512_castsi512_pd(
                _mm512_alignr_epi64(_mm512_castpd_si512(__m512d(last)), _mm512_castpd_si512(pairs), 6)));
        } else if constexpr (kLanes == 4) {
            return Vector(_mm256_permute2f128_pd(_mm256_castpd128_pd256(pair), __m256d(last), 0x20));
        } else {
            (void)last;
            return Vector(pair);
        }
    }

    // To float and back, one instruction each way (the generic conversion
    // may be split into halves).
    static Vector roundToFloat(Vector y) {
        if constexpr (kLanes == 8)
            return Vector(_mm512_cvtps_pd(_mm512_cvtpd_ps(__m512d(y))));
        else if constexpr (kLanes == 4)
            return Vector(_mm256_cvtps_pd(_mm256_cvtpd_ps(__m256d(y))));
        else
            return Vector(_mm_cvtps_pd(_mm_cvtpd_ps(__m128d(y))));
    }

    static void writeOutput(float* left, float* right, int32_t frame, Vector last) {
        left[frame] = static_cast<float>(last[kOutputLane]);
        right[frame] = static_cast<float>(last[kOutputLane + 1]);
    }

    // Steps `from` to `to` of a block of `frames`, the history held in
    // registers throughout. With kMasked, a lane whose band has no sample of
    // this block at a step keeps its history untouched; without, every band
    // is busy, so a lane's latest output is its y1. `out` carries each
    // register's output of the last step from one run of steps to the next.
    template <bool kMasked>
    static void steps(WavefrontState& s, Vector (&out)[kRegisters], float* left, float* right,
                      int32_t from, int32_t to, int32_t frames) {
        Vector x1[kRegisters], x2[kRegisters], y1[kRegisters], y2[kRegisters];
#pragma GCC unroll 32
        for (int k = 0; k < kRegisters; ++k) {
            x1[k] = load(s.x1, k);
            x2[k] = load(s.x2, k);
            y1[k] = load(s.y1, k);
            y2[k] = load(s.y2, k);
        }
        const double n = frames;
        for (int32_t t = from; t < to; ++t) {
            const bool fresh = !kMasked || t < frames;
            const Vector firstIn = firstInput(fresh ? left[t] : 0.0, fresh ? right[t] : 0.0,
                                              kMasked ? out[kRegisters - 1] : y1[kRegisters - 1]);
            // From the last register down, so that each one still reads the
            // previous step's output of the register before it.
#pragma GCC unroll 32
            for (int k = kRegisters - 1; k >= 0; --k) {
                const Vector in = k == 0 ? firstIn : kMasked ? out[k - 1] : y1[k - 1];
                const Vector y = load(s.b0, k) * in + load(s.b1, k) * x1[k] +
                                 load(s.b2, k) * x2[k] - load(s.a1, k) * y1[k] -
                                 load(s.a2, k) * y2[k];
                const Vector rounded = roundToFloat(y);
                if constexpr (kMasked) {
                    const Vector sample = double(t) - load(s.band, k);
                    const Mask active = (sample >= 0.0) & (sample < n);
                    x2[k] = active ? x1[k] : x2[k];
                    x1[k] = active ? in : x1[k];
                    y2[k] = active ? y1[k] : y2[k];
                    y1[k] = active ? rounded : y1[k];
                    out[k] = rounded;
                } else {
                    x2[k] = x1[k];
                    x1[k] = in;
                    y2[k] = y1[k];
                    y1[k] = rounded;
                }
            }
            if (t >= kLatency)
                writeOutput(left, right, t - kLatency, kMasked ? out[kOutputRegister] : y1[kOutputRegister]);
        }
#pragma GCC unroll 32
        for (int k = 0; k < kRegisters; ++k) {
            store(s.x1, k, x1[k]);
            store(s.x2, k, x2[k]);
            store(s.y1, k, y1[k]);
            store(s.y2, k, y2[k]);
            if constexpr (!kMasked) out[k] = y1[k];
        }
    }

    // Filters a block in place through the whole cascade: a start triangle
    // in which the later bands wait for their first sample, the full steps,
    // and an end triangle in which the earlier bands are done. Spare lanes
    // run unmasked in the full steps: their identity filters feed no band,
    // and the engine clears them after the block.
    static void run(WavefrontState& s, float* left, float* right, int32_t frames) {
        Vector out[kRegisters] = {};
        const int32_t fullFrom = kLatency;
        const int32_t fullTo = frames > kLatency ? frames : kLatency;
        steps<true>(s, out, left, right, 0, fullFrom, frames);
        if (fullTo > fullFrom) steps<false>(s, out, left, right, fullFrom, fullTo, frames);
        steps<true>(s, out, left, right, fullTo, frames + kLatency, frames);
    }
};

}  // namespace
}  // namespace vorn::engine::wavefront
