#include "engine/fast/fast_level_meter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vorn::engine {
namespace {

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
constexpr float kQuietMagnitude = 0x1p-14f;  // below 0.0001
static_assert(kQuietMagnitude < LevelMeter::kFallPerSample, "quiet means below one fall-back");

double binadeFloor(double positive) {
    uint64_t bits;
    std::memcpy(&bits, &positive, sizeof bits);
    bits &= 0xfff0000000000000u;  // sign and exponent
    double floor;
    std::memcpy(&floor, &bits, sizeof floor);
    return floor;
}

}  // namespace

FastLevelMeter::FastLevelMeter(SimdLevel level)
    : passes(&blockPassesFor(simdLevelSupported(level) ? level : SimdLevel::sse2)) {}

double FastLevelMeter::afterChunk(double meter, const float* left, const float* right,
                                  const BlockPasses& passes) {
    if (meter < kFallPerSample && passes.quietChunk(left, right, kQuietMagnitude)) {
        const double loudest = std::max(std::fabs(static_cast<double>(left[kChunk - 1])),
                                        std::fabs(static_cast<double>(right[kChunk - 1])));
        return loudest > 0.0 ? loudest - kFallPerSample : 0.0;
    }
    const double low = binadeFloor(meter);
    const double fall = meter - (meter - kFallPerSample);
    if (meter - (kChunk + 1) * fall >= low) {
        // An infinite sample is the loudest of its chunk and fails the test
        // for the next binade, so the chunk is then walked frame by frame.
        const ChunkPeaks peaks = passes.chunkPeaks(left, right, meter, fall);
        if (peaks.loudest < 2.0 * low) return peaks.best;
    }
    for (int k = 0; k < kChunk; ++k) meter = afterFrame(meter, left[k], right[k]);
    return meter;
}

void FastLevelMeter::update(const float* left, const float* right, int32_t frames) {
    if (frames <= 0) return;
    double meter = level();
    int32_t k = 0;
    for (; k + kChunk <= frames; k += kChunk) meter = afterChunk(meter, left + k, right + k, *passes);
    for (; k < frames; ++k) meter = afterFrame(meter, left[k], right[k]);
    publish(meter);
}

}  // namespace vorn::engine
