#pragma once
// Registers of floats for the passes over a whole block (the guard, the
// meters, the delivery), one set of operations per width: 4, 8 or 16 floats,
// and the doubles that half a register converts to. Only what those passes
// need, each operation one or two instructions.
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <immintrin.h>

#include <cstdint>

namespace vorn::engine::passes {
namespace {

template <int kFloats>
struct FloatLanes;

template <>
struct FloatLanes<4> {
    using Floats = __m128;
    using Doubles = __m128d;  // half a register
    using Mask = __m128;      // all bits set in the lanes where it holds

    static Floats load(const float* from) { return _mm_loadu_ps(from); }
    static void store(float* to, Floats value) { _mm_storeu_ps(to, value); }
    static Floats splat(float value) { return _mm_set1_ps(value); }
    static Floats add(Floats a, Floats b) { return _mm_add_ps(a, b); }
    static Floats magnitude(Floats value) {
        return _mm_and_ps(value, _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff)));
    }
    // `kept` where `value` is NaN, as the maximum instruction does.
    static Floats larger(Floats value, Floats kept) { return _mm_max_ps(value, kept); }
    static float largest(Floats value) {
        const Floats pairs = _mm_max_ps(value, _mm_movehl_ps(value, value));
        return _mm_cvtss_f32(_mm_max_ss(pairs, _mm_shuffle_ps(pairs, pairs, 1)));
    }

    // Comparisons, false for NaN.
    static Mask above(Floats value, Floats limit) { return _mm_cmpgt_ps(value, limit); }
    static Mask below(Floats value, Floats limit) { return _mm_cmplt_ps(value, limit); }
    static Mask none() { return _mm_setzero_ps(); }
    static Mask every() { return _mm_castsi128_ps(_mm_set1_epi32(-1)); }
    static Mask either(Mask a, Mask b) { return _mm_or_ps(a, b); }
    static Mask both(Mask a, Mask b) { return _mm_and_ps(a, b); }
    static bool any(Mask mask) { return _mm_movemask_ps(mask) != 0; }
    static bool all(Mask mask) { return _mm_movemask_ps(mask) == 0xF; }

    static Doubles lowerHalf(Floats value) { return _mm_cvtps_pd(value); }
    static Doubles upperHalf(Floats value) { return _mm_cvtps_pd(_mm_movehl_ps(value, value)); }
    static Doubles splat(double value) { return _mm_set1_pd(value); }
    // Lane i holds first - i.
    static Doubles countdown(double first) { return _mm_set_pd(first - 1, first); }
    static Doubles subtract(Doubles a, Doubles b) { return _mm_sub_pd(a, b); }
    static Doubles multiply(Doubles a, Doubles b) { return _mm_mul_pd(a, b); }
    static Doubles larger(Doubles value, Doubles kept) { return _mm_max_pd(value, kept); }
    static double largest(Doubles value) {
        return _mm_cvtsd_f64(_mm_max_sd(value, _mm_unpackhi_pd(value, value)));
    }
};

#ifdef __AVX2__
template <>
struct FloatLanes<8> {
    using Floats = __m256;
    using Doubles = __m256d;
    using Mask = __m256;

    static Floats load(const float* from) { return _mm256_loadu_ps(from); }
    static void store(float* to, Floats value) { _mm256_storeu_ps(to, value); }
    static Floats splat(float value) { return _mm256_set1_ps(value); }
    static Floats add(Floats a, Floats b) { return _mm256_add_ps(a, b); }
    static Floats magnitude(Floats value) {
        return _mm256_and_ps(value, _mm256_castsi256_ps(_mm256_set1_epi32(0x7fffffff)));
    }
    static Floats larger(Floats value, Floats kept) { return _mm256_max_ps(value, kept); }
    static float largest(Floats value) {
        return FloatLanes<4>::largest(
            _mm_max_ps(_mm256_castps256_ps128(value), _mm256_extractf128_ps(value, 1)));
    }

    static Mask above(Floats value, Floats limit) { return _mm256_cmp_ps(value, limit, _CMP_GT_OQ); }
    static Mask below(Floats value, Floats limit) { return _mm256_cmp_ps(value, limit, _CMP_LT_OQ); }
    static Mask none() { return _mm256_setzero_ps(); }
    static Mask every() { return _mm256_castsi256_ps(_mm256_set1_epi32(-1)); }
    static Mask either(Mask a, Mask b) { return _mm256_or_ps(a, b); }
    static Mask both(Mask a, Mask b) { return _mm256_and_ps(a, b); }
    static bool any(Mask mask) { return _mm256_movemask_ps(mask) != 0; }
    static bool all(Mask mask) { return _mm256_movemask_ps(mask) == 0xFF; }

    static Doubles lowerHalf(Floats value) { return _mm256_cvtps_pd(_mm256_castps256_ps128(value)); }
    static Doubles upperHalf(Floats value) { return _mm256_cvtps_pd(_mm256_extractf128_ps(value, 1)); }
    static Doubles splat(double value) { return _mm256_set1_pd(value); }
    static Doubles countdown(double first) {
        return _mm256_set_pd(first - 3, first - 2, first - 1, first);
    }
    static Doubles subtract(Doubles a, Doubles b) { return _mm256_sub_pd(a, b); }
    static Doubles multiply(Doubles a, Doubles b) { return _mm256_mul_pd(a, b); }
    static Doubles larger(Doubles value, Doubles kept) { return _mm256_max_pd(value, kept); }
    static double largest(Doubles value) {
        return FloatLanes<4>::largest(
            _mm_max_pd(_mm256_castpd256_pd128(value), _mm256_extractf128_pd(value, 1)));
    }
};
#endif

#ifdef __AVX512F__
// Only what AVX-512 Foundation has, which is all the engine asks the
// processor for at this level.
template <>
struct FloatLanes<16> {
    using Floats = __m512;
    using Doubles = __m512d;
    using Mask = __mmask16;

    static Floats load(const float* from) { return _mm512_loadu_ps(from); }
    static void store(float* to, Floats value) { _mm512_storeu_ps(to, value); }
    static Floats splat(float value) { return _mm512_set1_ps(value); }
    static Floats add(Floats a, Floats b) { return _mm512_add_ps(a, b); }
    static Floats magnitude(Floats value) { return _mm512_abs_ps(value); }
    static Floats larger(Floats value, Floats kept) { return _mm512_max_ps(value, kept); }
    static float largest(Floats value) { return _mm512_reduce_max_ps(value); }

    static Mask above(Floats value, Floats limit) { return _mm512_cmp_ps_mask(value, limit, _CMP_GT_OQ); }
    static Mask below(Floats value, Floats limit) { return _mm512_cmp_ps_mask(value, limit, _CMP_LT_OQ); }
    static Mask none() { return 0; }
    static Mask every() { return 0xFFFF; }
    static Mask either(Mask a, Mask b) { return a | b; }
    static Mask both(Mask a, Mask b) { return a & b; }
    static bool any(Mask mask) { return mask != 0; }
    static bool all(Mask mask) { return mask == 0xFFFF; }

    static Doubles lowerHalf(Floats value) { return _mm512_cvtps_pd(_mm512_castps512_ps256(value)); }
    static Doubles upperHalf(Floats value) {
        return _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(value), 1)));
    }
    static Doubles splat(double value) { return _mm512_set1_pd(value); }
    static Doubles countdown(double first) {
        return _mm512_set_pd(first - 7, first - 6, first - 5, first - 4, first - 3, first - 2,
                             first - 1, first);
    }
    static Doubles subtract(Doubles a, Doubles b) { return _mm512_sub_pd(a, b); }
    static Doubles multiply(Doubles a, Doubles b) { return _mm512_mul_pd(a, b); }
    static Doubles larger(Doubles value, Doubles kept) { return _mm512_max_pd(value, kept); }
    static double largest(Doubles value) { return _mm512_reduce_max_pd(value); }
};
#endif

}  // namespace
}  // namespace vorn::engine::passes
