#pragma once
// The wavefront kernel for short blocks on registers of 8 doubles:
// registers of neighbouring bands.
//
// The usual layout (wavefront_state.h) puts bands k, k + 8, k + 16 and k + 24
// in register k, so that no value moves between lanes. But a block of 32
// frames takes 61 steps, 58 of them in the start and end triangles, where
// most of each register's lanes wait for a band that has not started or is
// done. Here register k holds bands 4k to 4k + 3: a band's input is its lower
// neighbour's output, one pair of lanes down, moved there by one shuffle; in
// the triangles whole registers wait, and are not computed, which leaves
// about two thirds of the register steps of the usual layout. In the middle
// of a block the shuffle makes every step dearer, so longer blocks run the
// usual kernel.
//
// The steps of the two triangles are written out one by one, so that which
// registers work, which band starts or ends and which rows of the input ring
// they use are all known when compiling: no step branches, no value moved
// between registers. That needs the triangles apart: blocks of at least
// kBandCount + 1 frames.
//
// Each band's history is taken from the usual layout when it starts and put
// back there when it takes its last sample, so nothing is assumed about it
// (the usual kernel needs each band's input history to be the output history
// of the band below). Outputs are kept in registers (the last two, y1 and
// y2), inputs in a ring of the state's rows.
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <immintrin.h>

#include <cstdint>
#include <utility>

#include "engine/fast/wavefront_lanes.h"
#include "engine/fast/wavefront_state.h"

namespace vorn::engine::wavefront {
namespace {

// Only for registers of 8 doubles; a template so that nothing of it is
// compiled for the other instruction sets.
template <int kLanes>
struct NeighbourRun : Lanes<kLanes> {
    static_assert(kLanes == 8, "written for registers of 8 doubles");
    using Base = Lanes<kLanes>;
    using typename Base::Vector;
    using Base::filter;
    using Base::firstInput;
    using Base::kLastBand;
    using Base::kLatency;
    using Base::load;
    using Base::store;

    static constexpr int kPairs = 4;  // bands per register
    static constexpr int kRegisters = (kBandCount + kPairs - 1) / kPairs;
    static constexpr LaneLayout kUsualLayout = LaneLayout::forLanes(8);
    static constexpr int kOutputRegister = kLastBand / kPairs;
    static constexpr int kOutputLane = 2 * (kLastBand % kPairs);
    static_assert(kRegisters * 8 <= kMaxLanes);
    static_assert(kInputRingSteps == 4, "ring rows are step numbers mod 4");

    // The blocks this kernel runs: those whose start and end triangles do
    // not overlap, and that are short enough for the triangles to outweigh
    // the dearer steps between them (measured: at 64 frames the two kernels
    // take as long).
    static constexpr int32_t kShortestBlock = kBandCount + 1;
    static constexpr int32_t kLongestBlock = 63;

    using Registers = Vector[kRegisters];

    // The two lanes of band `band` in its register.
    static constexpr __mmask8 lanesOf(int band) { return __mmask8(3u << (2 * (band % kPairs))); }

    // Where a register would sit in the usual layout's array `usual` for its
    // lanes of band `band` to fall on that band's lanes there. Only those two
    // lanes are read or written through it (the accesses are masked), and
    // they are inside the array.
    static double* usualPlaceOf(double* usual, int band) {
        return usual + kUsualLayout.laneOf(band, 0) - 2 * (band % kPairs);
    }

    // Register k's input: the outputs of its own bands moved up one pair,
    // and below them the last output of the register before.
    static Vector movedUp(Vector own, Vector before) {
        return Vector(_mm512_castsi512_pd(_mm512_alignr_epi64(
            _mm512_castpd_si512(__m512d(own)), _mm512_castpd_si512(__m512d(before)), 6)));
    }

    // Registers kLow to kHigh take one step; the inputs go to ring row kRow.
    template <int kLow, int kHigh, int kRow>
    [[gnu::always_inline]] static void compute(WavefrontState& s, Registers& y1, Registers& y2,
                                               double left, double right) {
        constexpr int kPrevious = (kRow + 3) % 4, kBefore = (kRow + 2) % 4;
        const Vector newest = firstInput(left, right, y1[0]);
        // From the last register down, so that each one still reads the
        // previous step's output of the register before it.
#pragma GCC unroll 8
        for (int k = kHigh; k >= kLow; --k) {
            const Vector x = k == 0 ? newest : movedUp(y1[k], y1[k == 0 ? 0 : k - 1]);
            store(s.inputRing[kRow], k, x);
            const Vector y = filter(s.neighbours, k, x, load(s.inputRing[kPrevious], k),
                                    load(s.inputRing[kBefore], k), y1[k], y2[k]);
            y2[k] = y1[k];
            y1[k] = y;
        }
    }

    static void writeOutput(const Registers& y1, float* left, float* right, int32_t frame) {
        left[frame] = static_cast<float>(y1[kOutputRegister][kOutputLane]);
        right[frame] = static_cast<float>(y1[kOutputRegister][kOutputLane + 1]);
    }

    // Step t of the start triangle: band t starts, with the history the last
    // block left it; the registers up to its own work.
    template <int t>
    [[gnu::always_inline]] static void startStep(WavefrontState& s, Registers& y1, Registers& y2,
                                                 float* left, float* right) {
        constexpr int k = t / kPairs;
        constexpr __mmask8 mine = lanesOf(t);
        constexpr int kRow = t % 4, kPrevious = (t + 3) % 4, kBefore = (t + 2) % 4;
        y1[k] = Vector(_mm512_mask_loadu_pd(__m512d(y1[k]), mine, usualPlaceOf(s.y1, t)));
        y2[k] = Vector(_mm512_mask_loadu_pd(__m512d(y2[k]), mine, usualPlaceOf(s.y2, t)));
        store(s.inputRing[kPrevious], k,
              Vector(_mm512_mask_loadu_pd(__m512d(load(s.inputRing[kPrevious], k)), mine,
                                          usualPlaceOf(s.x1, t))));
        store(s.inputRing[kBefore], k,
              Vector(_mm512_mask_loadu_pd(__m512d(load(s.inputRing[kBefore], k)), mine,
                                          usualPlaceOf(s.x2, t))));
        compute<0, k, kRow>(s, y1, y2, left[t], right[t]);
        if constexpr (t == kLatency) writeOutput(y1, left, right, 0);
    }

    // Step e of the end triangle, at step frames - 1 + e of the block: band e
    // takes its last sample and leaves its history; the registers from its own
    // up work. The ring's rows are counted from the first of these steps.
    template <int e>
    [[gnu::always_inline]] static void endStep(WavefrontState& s, Registers& y1, Registers& y2,
                                               float* left, float* right, int32_t frames,
                                               __mmask8& unusable) {
        constexpr int k = e / kPairs;
        constexpr __mmask8 mine = lanesOf(e);
        constexpr int kRow = e % 4, kPrevious = (e + 3) % 4;
        const int32_t t = frames - 1 + e;
        compute<k, kRegisters - 1, kRow>(s, y1, y2, e == 0 ? left[t] : 0.0, e == 0 ? right[t] : 0.0);
        writeOutput(y1, left, right, t - kLatency);
        const Vector x1 = load(s.inputRing[kRow], k), x2 = load(s.inputRing[kPrevious], k);
        _mm512_mask_storeu_pd(usualPlaceOf(s.y1, e), mine, __m512d(y1[k]));
        _mm512_mask_storeu_pd(usualPlaceOf(s.y2, e), mine, __m512d(y2[k]));
        _mm512_mask_storeu_pd(usualPlaceOf(s.x1, e), mine, __m512d(x1));
        _mm512_mask_storeu_pd(usualPlaceOf(s.x2, e), mine, __m512d(x2));
        // A band's input history is the output history its lower neighbour
        // has just left, so only the first band's inputs need a look of
        // their own.
        unusable |= mine & ~(usable(y1[k]) & usable(y2[k]));
        if constexpr (e == 0) unusable |= mine & ~(usable(x1) & usable(x2));
    }

    // The lanes that hold a usable history value (NaN is not one).
    static __mmask8 usable(Vector value) {
        const __m512d magnitude = _mm512_castsi512_pd(_mm512_and_epi64(
            _mm512_castpd_si512(__m512d(value)), _mm512_set1_epi64(0x7fffffffffffffff)));
        return _mm512_cmp_pd_mask(magnitude, _mm512_set1_pd(kLargestUsableHistory), _CMP_LE_OQ);
    }

    template <int kRow>
    [[gnu::always_inline]] static void middleStep(WavefrontState& s, Registers& y1, Registers& y2,
                                                  float* left, float* right, int32_t t) {
        compute<0, kRegisters - 1, kRow>(s, y1, y2, left[t], right[t]);
        writeOutput(y1, left, right, t - kLatency);
    }

    template <size_t... t>
    [[gnu::always_inline]] static void startTriangle(WavefrontState& s, Registers& y1,
                                                     Registers& y2, float* left, float* right,
                                                     std::index_sequence<t...>) {
        (startStep<static_cast<int>(t)>(s, y1, y2, left, right), ...);
    }
    template <size_t... e>
    [[gnu::always_inline]] static void endTriangle(WavefrontState& s, Registers& y1,
                                                   Registers& y2, float* left, float* right,
                                                   int32_t frames, __mmask8& unusable,
                                                   std::index_sequence<e...>) {
        (endStep<static_cast<int>(e)>(s, y1, y2, left, right, frames, unusable), ...);
    }

    // Steps kBandCount to frames - 2, in which every band is busy.
    [[gnu::always_inline]] static void middle(WavefrontState& s, Registers& y1, Registers& y2,
                                              float* left, float* right, int32_t frames) {
        static_assert(kBandCount % 4 == 2, "the middle starts on ring row 2");
        const int32_t to = frames - 1;
        int32_t t = kBandCount;
        for (; t + 4 <= to; t += 4) {
            middleStep<2>(s, y1, y2, left, right, t);
            middleStep<3>(s, y1, y2, left, right, t + 1);
            middleStep<0>(s, y1, y2, left, right, t + 2);
            middleStep<1>(s, y1, y2, left, right, t + 3);
        }
        if (t < to) middleStep<2>(s, y1, y2, left, right, t++);
        if (t < to) middleStep<3>(s, y1, y2, left, right, t++);
        if (t < to) middleStep<0>(s, y1, y2, left, right, t++);
    }

    // Filters a block of at least kShortestBlock frames in place. False if a
    // history it left is not usable: not finite, or huge.
    [[gnu::noinline]] static bool run(WavefrontState& s, float* left, float* right, int32_t frames) {
        // Lanes that have not started compute from zero outputs and from
        // the inputs an earlier block left in the ring: numbers nobody reads.
        Registers y1 = {}, y2 = {};
        startTriangle(s, y1, y2, left, right, std::make_index_sequence<kBandCount>{});
        middle(s, y1, y2, left, right, frames);
        // The end triangle counts its ring rows from its own first step: the
        // last two inputs so far move to rows 3 and 2.
        const int32_t last = frames - 2;
        Registers previous, before;
        for (int k = 0; k < kRegisters; ++k) {
            previous[k] = load(s.inputRing[last % 4], k);
            before[k] = load(s.inputRing[(last - 1) % 4], k);
        }
        for (int k = 0; k < kRegisters; ++k) {
            store(s.inputRing[3], k, previous[k]);
            store(s.inputRing[2], k, before[k]);
        }
        __mmask8 unusable = 0;
        endTriangle(s, y1, y2, left, right, frames, unusable, std::make_index_sequence<kBandCount>{});
        return unusable == 0;
    }
};

}  // namespace
}  // namespace vorn::engine::wavefront
