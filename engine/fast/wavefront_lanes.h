#pragma once
// The arithmetic of the wavefront kernels, written once for any register
// width: vectors of 2, 4 or 8 doubles, one lane per recursion.
//
// Every lane performs exactly the plain engine's step: the five products of
// float values formed in double, summed from left to right, rounded once to
// float; the history holds those floats. The compiler may not fuse anything
// on its own (-ffp-contract=off); the one place that fuses does so by hand,
// where it cannot change a bit (see filter), so the bits equal the plain
// engine's.
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

    // sum + a * b, and sum - a * b, each rounded once. Fused where the
    // instruction set has it; SSE2 multiplies and adds.
    static Vector addProduct(Vector sum, Vector a, Vector b) {
        if constexpr (kLanes == 8)
            return Vector(_mm512_fmadd_pd(__m512d(a), __m512d(b), __m512d(sum)));
        else if constexpr (kLanes == 4)
            return Vector(_mm256_fmadd_pd(__m256d(a), __m256d(b), __m256d(sum)));
        else
            return sum + a * b;
    }
    static Vector subtractProduct(Vector sum, Vector a, Vector b) {
        if constexpr (kLanes == 8)
            return Vector(_mm512_fnmadd_pd(__m512d(a), __m512d(b), __m512d(sum)));
        else if constexpr (kLanes == 4)
            return Vector(_mm256_fnmadd_pd(__m256d(a), __m256d(b), __m256d(sum)));
        else
            return sum - a * b;
    }

    // One step of one register: the plain engine's sum, lane by lane, in its
    // order. Every operand is a float, and the product of two floats is exact
    // in double (at most 48 significant bits, and an exponent far inside
    // double's range, neither overflowing nor subnormal), so adding a product
    // to the running sum in one fused instruction rounds exactly where the
    // plain engine's separate addition rounds: the same bits, in five
    // instructions instead of nine. The newest input comes in first, so that
    // the chain from one band to the next is as short as it can be.
    static Vector filter(const LaneCoefficients& c, int k, Vector in, Vector x1, Vector x2,
                         Vector y1, Vector y2) {
        Vector sum = addProduct(load(c.b1, k) * x1, load(c.b0, k), in);
        sum = addProduct(sum, load(c.b2, k), x2);
        sum = subtractProduct(sum, load(c.a1, k), y1);
        sum = subtractProduct(sum, load(c.a2, k), y2);
        return roundToFloat(sum);
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
