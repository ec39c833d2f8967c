#pragma once
// The wavefront kernel's usual path: every register runs every step,
// unmasked. A band's input history is its predecessor's output history one
// step older, so only outputs are kept: y[slot][k] in three slots that take
// turns as y1, y2 and y3, so that no value is ever moved, and `in` holds the
// first register's inputs the same way. A band that has not started yet
// (the start triangle) computes values nobody uses, and is given back its
// history when it starts; one that is done (the end triangle) goes on the
// same way, its history having been kept at the step it finished. Registers
// none of whose bands has started, or all of whose bands are done, are
// skipped.
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <cstdint>

#include "engine/fast/wavefront_lanes.h"
#include "engine/fast/wavefront_state.h"

namespace vorn::engine::wavefront {
namespace {

template <int kLanes>
struct UnmaskedRun : Lanes<kLanes> {
    using Base = Lanes<kLanes>;
    using typename Base::Mask;
    using typename Base::Vector;
    using Base::differ;
    using Base::filter;
    using Base::firstInput;
    using Base::kLastBand;
    using Base::kLatency;
    using Base::kOutputRegister;
    using Base::kRegisters;
    using Base::load;
    using Base::pairLanes;
    using Base::store;
    using Base::writeOutput;
    static_assert(kBandCount * 4 * kLanes <= kMaxFinishValues);

    // Whether each band's input history is its predecessor's output history,
    // bit for bit, as the fast path assumes. It always is, unless a history
    // was cleared after the last block in one band but not the next. A band's
    // predecessor is in the same lanes of the register before, and for the
    // first register a pair of lanes lower in the last one.
    static bool historyChained(const WavefrontState& s) {
        static_assert((kLanes / 2 - 1) * kRegisters < kBandCount, "no spare lane in the first register");
        const Vector x1 = load(s.x1, 0), x2 = load(s.x2, 0);
        Mask broken = differ(x1, firstInput(x1[0], x1[1], load(s.y1, kRegisters - 1))) |
                      differ(x2, firstInput(x2[0], x2[1], load(s.y2, kRegisters - 1)));
        for (int k = 1; k < kRegisters; ++k) {
            // Spare lanes hold what they like.
            const Mask bands = load(s.band, k) < double(kBandCount);
            broken |= bands & (differ(load(s.x1, k), load(s.y1, k - 1)) |
                               differ(load(s.x2, k), load(s.y2, k - 1)));
        }
        for (int lane = 0; lane < kLanes; ++lane)
            if (broken[lane]) return false;
        return true;
    }

    // Where the last two outputs of band `band`'s register, then the first
    // register's last two inputs, are kept at the step the band finishes.
    static double* finishRow(WavefrontState& s, int band) {
        return s.finishes + band * 4 * kLanes;
    }
    static const double* finishRow(const WavefrontState& s, int band) {
        return s.finishes + band * 4 * kLanes;
    }

    // The last real band in register k.
    static constexpr int lastBandIn(int k) {
        return k + (kLastBand - k) / kRegisters * kRegisters;
    }

    // One step. In the middle of a block every band is busy; kStarting marks
    // the steps in which a band may start, kFinishing those in which one may
    // take its last sample.
    template <int kY1, bool kStarting, bool kFinishing>
    [[gnu::always_inline]] static void step(WavefrontState& s, Vector (&y)[3][kRegisters],
                                            Vector (&in)[3], float* left, float* right,
                                            int32_t t, int32_t frames) {
        constexpr int kY2 = (kY1 + 1) % 3, kY3 = (kY1 + 2) % 3;
        constexpr bool kMiddle = !kStarting && !kFinishing;
        if (kStarting && t <= kLastBand) {
            // Band t starts: its history, as the last block left it. Only
            // the one register that holds band t is touched.
            const Vector starting = Vector{} + double(t);
            const int startingRegister = t % kRegisters;
#pragma GCC unroll 32
            for (int k = 0; k < kRegisters; ++k) {
                if (k != startingRegister) continue;
                const Mask starts = load(s.band, k) == starting;
                y[kY1][k] = starts ? load(s.y1, k) : y[kY1][k];
                y[kY2][k] = starts ? load(s.y2, k) : y[kY2][k];
                if (k == 0) {
                    in[kY1] = starts ? load(s.x1, 0) : in[kY1];
                    in[kY2] = starts ? load(s.x2, 0) : in[kY2];
                }
            }
        }
        const bool fresh = kMiddle || t < frames;
        in[kY3] = firstInput(fresh ? left[t] : 0.0, fresh ? right[t] : 0.0, y[kY1][kRegisters - 1]);
        // From the last register down, so that each one still reads the
        // previous step's outputs of the register before it.
#pragma GCC unroll 32
        for (int k = kRegisters - 1; k >= 1; --k) {
            // A register none of whose bands has started yet, or all of whose
            // bands are done, has nothing to do: nobody reads it meanwhile.
            if (kStarting && k > t) continue;
            if (kFinishing && t > frames - 1 + lastBandIn(k)) continue;
            y[kY3][k] = filter(s.coefficients, k, y[kY1][k - 1], y[kY2][k - 1], y[kY3][k - 1], y[kY1][k], y[kY2][k]);
        }
        y[kY3][0] = filter(s.coefficients, 0, in[kY3], in[kY1], in[kY2], y[kY1][0], y[kY2][0]);
        if (kMiddle || (t >= kLatency && t - kLatency < frames))
            writeOutput(left, right, t - kLatency, y[kY3][kOutputRegister]);
        if (kFinishing && t >= frames - 1) {
            // Band t - (frames - 1) has taken its last sample: its register's
            // last two outputs, and the first register's last two inputs.
            const int finishing = t - (frames - 1);
            const int finishingRegister = finishing % kRegisters;
            double* row = finishRow(s, finishing);
#pragma GCC unroll 32
            for (int k = 0; k < kRegisters; ++k) {
                if (k != finishingRegister) continue;
                store(row, 0, y[kY3][k]);
                store(row, 1, y[kY1][k]);
            }
            store(row, 2, in[kY3]);
            store(row, 3, in[kY1]);
        }
    }

    // The slots between one run of steps and the next.
    struct Slots {
        Vector y[3][kRegisters];
        Vector in[3];
    };

    // Steps `from` to `to`. The slots take turns with period three: step t
    // starts from slot (-t) mod 3. Each run of steps has the slots to itself,
    // so that they stay in registers.
    template <bool kStarting, bool kFinishing>
    [[gnu::noinline]] static void steps(WavefrontState& s, Slots& slots, float* left,
                                        float* right, int32_t from, int32_t to, int32_t frames) {
        Vector y[3][kRegisters], in[3];
#pragma GCC unroll 32
        for (int k = 0; k < kRegisters; ++k)
            for (int slot = 0; slot < 3; ++slot) y[slot][k] = slots.y[slot][k];
        for (int slot = 0; slot < 3; ++slot) in[slot] = slots.in[slot];
        int32_t t = from;
        for (; t < to && t % 3 != 0; ++t) {
            if (t % 3 == 1)
                step<2, kStarting, kFinishing>(s, y, in, left, right, t, frames);
            else
                step<1, kStarting, kFinishing>(s, y, in, left, right, t, frames);
        }
        for (; t + 3 <= to; t += 3) {
            step<0, kStarting, kFinishing>(s, y, in, left, right, t, frames);
            step<2, kStarting, kFinishing>(s, y, in, left, right, t + 1, frames);
            step<1, kStarting, kFinishing>(s, y, in, left, right, t + 2, frames);
        }
        if (t < to) step<0, kStarting, kFinishing>(s, y, in, left, right, t++, frames);
        if (t < to) step<2, kStarting, kFinishing>(s, y, in, left, right, t++, frames);
#pragma GCC unroll 32
        for (int k = 0; k < kRegisters; ++k)
            for (int slot = 0; slot < 3; ++slot) slots.y[slot][k] = y[slot][k];
        for (int slot = 0; slot < 3; ++slot) slots.in[slot] = in[slot];
    }

    // Each band's history from the step it finished; a band's input history
    // is its predecessor's output history, the first band's the first
    // register's inputs.
    static void keepFinishedHistory(WavefrontState& s) {
        for (int k = 0; k < kRegisters; ++k) {
            Vector y1 = load(s.y1, k), y2 = load(s.y2, k);
            for (int pair = 0; pair < kLanes / 2; ++pair) {
                const int band = k + pair * kRegisters;
                if (band >= kBandCount) continue;
                const double* row = finishRow(s, band);
                const Mask mine = pairLanes(pair);
                y1 = mine ? load(row, 0) : y1;
                y2 = mine ? load(row, 1) : y2;
            }
            store(s.y1, k, y1);
            store(s.y2, k, y2);
        }
        for (int k = 1; k < kRegisters; ++k) {
            store(s.x1, k, load(s.y1, k - 1));
            store(s.x2, k, load(s.y2, k - 1));
        }
        const double* first = finishRow(s, 0);
        const Vector in1 = load(first, 2), in2 = load(first, 3);
        store(s.x1, 0, firstInput(in1[0], in1[1], load(s.y1, kRegisters - 1)));
        store(s.x2, 0, firstInput(in2[0], in2[1], load(s.y2, kRegisters - 1)));
    }

    static void run(WavefrontState& s, float* left, float* right, int32_t frames) {
        Slots slots;
        for (int k = 0; k < kRegisters; ++k) {
            slots.y[0][k] = load(s.y1, k);
            slots.y[1][k] = load(s.y2, k);
            slots.y[2][k] = Vector{};
        }
        slots.in[0] = load(s.x1, 0);
        slots.in[1] = load(s.x2, 0);
        slots.in[2] = Vector{};
        // Bands start in the first kBandCount steps and finish in the last
        // kBandCount; in a short block the two overlap.
        const int32_t end = frames + kLatency;
        const int32_t startsEnd = kBandCount < end ? kBandCount : end;
        const int32_t finishesFrom = frames - 1;
        if (finishesFrom <= startsEnd) {
            steps<true, false>(s, slots, left, right, 0, finishesFrom, frames);
            steps<true, true>(s, slots, left, right, finishesFrom, startsEnd, frames);
            steps<false, true>(s, slots, left, right, startsEnd, end, frames);
        } else {
            steps<true, false>(s, slots, left, right, 0, startsEnd, frames);
            steps<false, false>(s, slots, left, right, startsEnd, finishesFrom, frames);
            steps<false, true>(s, slots, left, right, finishesFrom, end, frames);
        }
        keepFinishedHistory(s);
    }
};

}  // namespace
}  // namespace vorn::engine::wavefront
