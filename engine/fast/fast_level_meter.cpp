#include "engine/fast/fast_level_meter.h"

#include <emmintrin.h>

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

// The larger of two values, `kept` where `value` is NaN (as the maximum
// instructions do): a sample that is not a number never raises the meter.
__m128 larger(__m128 value, __m128 kept) { return _mm_max_ps(value, kept); }
__m128d larger(__m128d value, __m128d kept) { return _mm_max_pd(value, kept); }

// Four samples without their signs.
__m128 magnitudes(const float* samples) {
    return _mm_and_ps(_mm_loadu_ps(samples), _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff)));
}

double binadeFloor(double positive) {
    uint64_t bits;
    std::memcpy(&bits, &positive, sizeof bits);
    bits &= 0xfff0000000000000u;  // sign and exponent
    double floor;
    std::memcpy(&floor, &bits, sizeof floor);
    return floor;
}

bool quietChunk(const float* left, const float* right, int frames) {
    // NaN fails the comparison, so a chunk holding one is not quiet.
    const __m128 limit = _mm_set1_ps(kQuietMagnitude);
    int quiet = 0xF;
    for (int k = 0; k < frames; k += 4)
        quiet &= _mm_movemask_ps(_mm_cmplt_ps(magnitudes(left + k), limit)) &
                 _mm_movemask_ps(_mm_cmplt_ps(magnitudes(right + k), limit));
    return quiet == 0xF;
}

}  // namespace

double FastLevelMeter::afterChunk(double meter, const float* left, const float* right) {
    if (meter < kFallPerSample && quietChunk(left, right, kChunk)) {
        const double loudest = std::max(std::fabs(static_cast<double>(left[kChunk - 1])),
                                        std::fabs(static_cast<double>(right[kChunk - 1])));
        return loudest > 0.0 ? loudest - kFallPerSample : 0.0;
    }
    const double low = binadeFloor(meter);
    const double fall = meter - (meter - kFallPerSample);
    if (meter - (kChunk + 1) * fall >= low) {
        // An infinite sample is the loudest of its chunk and fails the test
        // for the next binade, so the chunk is then walked frame by frame.
        // Four running maxima, so that no long chain of comparisons stands
        // between one chunk and the next.
        const __m128 nothing = _mm_set1_ps(-1.0f);
        const __m128d falls = _mm_set1_pd(fall);
        __m128 loudest = nothing;
        __m128d best[4];
        for (__m128d& term : best) term = _mm_set1_pd(meter - kChunk * fall);
#pragma GCC unroll 8
        for (int k = 0; k < kChunk; k += 4) {
            const __m128 frames = larger(magnitudes(left + k), larger(magnitudes(right + k), nothing));
            loudest = larger(frames, loudest);
            const __m128d early = _mm_cvtps_pd(frames);
            const __m128d late = _mm_cvtps_pd(_mm_movehl_ps(frames, frames));
            const __m128d earlyFalls = _mm_set_pd(kChunk - k - 1, kChunk - k);
            const __m128d lateFalls = _mm_set_pd(kChunk - k - 3, kChunk - k - 2);
            __m128d& earlyBest = best[(k / 4) % 2 * 2];
            __m128d& lateBest = best[(k / 4) % 2 * 2 + 1];
            earlyBest = larger(_mm_sub_pd(early, _mm_mul_pd(earlyFalls, falls)), earlyBest);
            lateBest = larger(_mm_sub_pd(late, _mm_mul_pd(lateFalls, falls)), lateBest);
        }
        const __m128d both = larger(larger(best[0], best[1]), larger(best[2], best[3]));
        float chunkLoudest[4];
        _mm_storeu_ps(chunkLoudest, loudest);
        const double result = std::max(_mm_cvtsd_f64(both), _mm_cvtsd_f64(_mm_unpackhi_pd(both, both)));
        if (std::max(std::max(chunkLoudest[0], chunkLoudest[1]), std::max(chunkLoudest[2], chunkLoudest[3])) <
            2.0 * low)
            return result;
    }
    for (int k = 0; k < kChunk; ++k) meter = afterFrame(meter, left[k], right[k]);
    return meter;
}

void FastLevelMeter::update(const float* left, const float* right, int32_t frames) {
    if (frames <= 0) return;
    double meter = level();
    int32_t k = 0;
    for (; k + kChunk <= frames; k += kChunk) meter = afterChunk(meter, left + k, right + k);
    for (; k < frames; ++k) meter = afterFrame(meter, left[k], right[k]);
    publish(meter);
}

}  // namespace vorn::engine
