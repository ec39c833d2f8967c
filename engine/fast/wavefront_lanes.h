#pragma once
// The arithmetic of the wavefront kernels, written once for any register
// width: vectors of 2, 4 or 8 doubles, one lane per recursion.
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
struct Lanes {
    using Vector = typename Vectors<kLanes>::Vector;
    using Mask = typename Vectors<kLanes>::Mask;

    static constexpr LaneLayout layout = LaneLayout::forLanes(kLanes);
    static constexpr int kRegisters = layout.registers;
    static constexpr int kLastBand = kBandCount - 1;
    static constexpr int kLatency = kLastBand;  // steps from band 0 to band 29
    static constexpr int kOutputRegister = kLastBand % kRegisters;
    static constexpr int kOutputLane = layout.laneOf(kLastBand, 0) % kLanes;

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

    // One step of one register: the plain engine's sum, lane by lane.
    static Vector filter(const WavefrontState& s, int k, Vector in, Vector x1, Vector x2,
                         Vector y1, Vector y2) {
        return roundToFloat(load(s.b0, k) * in + load(s.b1, k) * x1 + load(s.b2, k) * x2 -
                            load(s.a1, k) * y1 - load(s.a2, k) * y2);
    }

    static void writeOutput(float* left, float* right, int32_t frame, Vector last) {
        left[frame] = static_cast<float>(last[kOutputLane]);
        right[frame] = static_cast<float>(last[kOutputLane + 1]);
    }

    static Mask differ(Vector a, Vector b) { return Mask(a) != Mask(b); }

    // The two lanes of the pair `pair` (one band, left and right).
    static Mask pairLanes(int pair) {
        Mask pairs;
        for (int lane = 0; lane < kLanes; ++lane) pairs[lane] = lane / 2;
        return pairs == pair;
    }
};

}  // namespace
}  // namespace vorn::engine::wavefront
