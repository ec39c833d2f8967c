#pragma once
// The fast level meter's rule, written once for any register width: the
// running value after a block, as LevelMeter::afterFrame gives it frame by
// frame, taking kMeterChunk frames at a time where that cannot change the
// result.
//
// Within one binade [2^e, 2^(e+1)) doubles are evenly spaced, so while the
// meter stays in it every fall-back subtracts the same amount: 0.0001
// rounded to that spacing. Then a chunk of C frames reduces to a maximum:
//
//   meter after the chunk = max(meter - C * fall,
//                               max over frames k of (loudest_k - (C - k) * fall))
//
// where loudest_k is frame k's louder real sample (it raises the meter, if it
// does, before that frame's own fall-back). Every term that can win is exact:
// the falls are multiples of the spacing that fit in a double, and those
// terms lie in the binade. It holds when
//  - the meter falling C + 1 times stays in its binade, so that every
//    fall-back of the chunk, even its exact unrounded value, lands there.
//    This also keeps out the small meters, whose binades are narrower than
//    C + 1 falls: those where 0.0001 is a tie of the spacing, and those that
//    reach zero, below which the meter stops falling;
//  - no sample of the chunk reaches the next binade.
// Otherwise the chunk is walked frame by frame, as LevelMeter does.
//
// Quiet chunks, where the binade rule never holds (silence carrying the
// engine's guard offsets, the tail of a fade): when the meter is below one
// fall-back and every sample of the chunk is a real number below it too,
// the first frame leaves the meter at or below zero, and from then on each
// frame sets it to its louder magnitude less one fall-back (or to zero, for
// a silent frame). Only the last frame decides.
//
// Everything here has internal linkage: a function compiled for a wider set
// must never stand in for the baseline copy of the same inline function.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/fast/block_passes.h"
#include "engine/fast/float_lanes.h"
#include "engine/level_meter.h"

namespace vorn::engine::passes {
namespace {

template <int kFloats>
struct MeterChunks {
    using L = FloatLanes<kFloats>;
    static_assert(kMeterChunk % kFloats == 0, "a chunk is whole registers");
    static constexpr double kFall = LevelMeter::kFallPerSample;
    static constexpr float kQuietMagnitude = 0x1p-14f;  // below 0.0001
    static_assert(kQuietMagnitude < kFall, "quiet means below one fall-back");

    static double afterFrames(double meter, const float* left, const float* right, int32_t frames) {
        int32_t k = 0;
        for (; k + kMeterChunk <= frames; k += kMeterChunk)
            meter = afterChunk(meter, left + k, right + k);
        for (; k < frames; ++k) meter = LevelMeter::afterFrame(meter, left[k], right[k]);
        return meter;
    }

    static double afterChunk(double meter, const float* left, const float* right) {
        if (meter < kFall && quiet(left, right)) {
            const double loudest = std::max(std::fabs(static_cast<double>(left[kMeterChunk - 1])),
                                            std::fabs(static_cast<double>(right[kMeterChunk - 1])));
            return loudest > 0.0 ? loudest - kFall : 0.0;
        }
        const double low = binadeFloor(meter);
        const double fall = meter - (meter - kFall);
        if (meter - (kMeterChunk + 1) * fall >= low) {
            // An infinite sample is the loudest of its chunk and fails the
            // test for the next binade, so the chunk is then walked frame by
            // frame.
            double best;
            if (loudestBelow(left, right, meter, fall, 2.0 * low, best)) return best;
        }
        for (int k = 0; k < kMeterChunk; ++k) meter = LevelMeter::afterFrame(meter, left[k], right[k]);
        return meter;
    }

    static double binadeFloor(double positive) {
        uint64_t bits;
        std::memcpy(&bits, &positive, sizeof bits);
        bits &= 0xfff0000000000000u;  // sign and exponent
        double floor;
        std::memcpy(&floor, &bits, sizeof floor);
        return floor;
    }

    // Whether every sample is a real number of magnitude below kQuietMagnitude
    // (NaN fails the comparison).
    static bool quiet(const float* left, const float* right) {
        const auto limit = L::splat(kQuietMagnitude);
        auto quiet = L::every();
        for (int k = 0; k < kMeterChunk; k += kFloats)
            quiet = L::both(quiet, L::both(L::below(L::magnitude(L::load(left + k)), limit),
                                           L::below(L::magnitude(L::load(right + k)), limit)));
        return L::all(quiet);
    }

    // The binade rule's maximum into `best`, if no sample reaches `next` (the
    // next binade's floor).
    static bool loudestBelow(const float* left, const float* right, double meter, double fall,
                             double next, double& best) {
        constexpr int kHalf = kFloats / 2;
        // A sample that is not a number counts for nothing.
        const auto nothing = L::splat(-1.0f);
        const auto falls = L::splat(fall);
        auto loudest = nothing;
        // Two running maxima, so that no long chain of comparisons stands
        // between one chunk and the next.
        auto lowerBest = L::splat(meter - kMeterChunk * fall);
        auto upperBest = lowerBest;
        for (int k = 0; k < kMeterChunk; k += kFloats) {
            const auto frames = L::larger(L::magnitude(L::load(left + k)),
                                          L::larger(L::magnitude(L::load(right + k)), nothing));
            loudest = L::larger(frames, loudest);
            const auto lowerFalls = L::countdown(kMeterChunk - k);
            const auto upperFalls = L::countdown(kMeterChunk - k - kHalf);
            lowerBest = L::larger(L::subtract(L::lowerHalf(frames), L::multiply(lowerFalls, falls)),
                                  lowerBest);
            upperBest = L::larger(L::subtract(L::upperHalf(frames), L::multiply(upperFalls, falls)),
                                  upperBest);
        }
        best = L::largest(L::larger(lowerBest, upperBest));
        return L::largest(loudest) < next;
    }
};

}  // namespace
}  // namespace vorn::engine::passes
