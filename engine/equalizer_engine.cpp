#include "engine/equalizer_engine.h"

#include <cmath>

namespace vorn::engine {

void addDenormalGuard(float* left, float* right, int32_t frames) {
    for (int32_t k = 0; k < frames; ++k) {
        const float offset = (k % 2 == 0) ? kDenormalGuard : -kDenormalGuard;
        left[k] += offset;
        right[k] += offset;
    }
}

void deliverBlock(const float* left, const float* right, float** outputs, int32_t frames,
                  bool replacing) {
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    if (replacing) {
        for (int32_t k = 0; k < frames; ++k) {
            outLeft[k] = left[k];
            outRight[k] = right[k];
        }
    } else {
        for (int32_t k = 0; k < frames; ++k) {
            outLeft[k] += left[k];
            outRight[k] += right[k];
        }
    }
}

bool holdsHugeSample(const float* left, const float* right, int32_t frames) {
    // An int rather than a bool, so that the compiler checks several samples
    // at a time; NaN fails the comparison.
    int huge = 0;
    for (int32_t k = 0; k < frames; ++k) {
        huge |= (std::fabs(left[k]) > kLargestUsableHistory) |
                (std::fabs(right[k]) > kLargestUsableHistory);
    }
    return huge != 0;
}

void filterBand(BandFilter& leftFilter, BandFilter& rightFilter, float* left, float* right,
                int32_t frames) {
    // The channels are independent, so interleaving them per sample gives the
    // same result as one channel after the other, with two recursions in
    // flight. Local copies keep the state in registers: as far as the compiler
    // knows, the sample arrays could alias the filter records.
    BandFilter l = leftFilter;
    BandFilter r = rightFilter;
    for (int32_t k = 0; k < frames; ++k) {
        left[k] = l.step(left[k]);
        right[k] = r.step(right[k]);
    }
    leftFilter = l;
    rightFilter = r;
}

void EqualizerEngine::processBlock(float** inputs, float** outputs, int32_t sampleFrames,
                                   bool replacing, const BandValues& bands, double sampleRate) {
    const bool hasSamples = sampleFrames > 0;
    float* left = hasSamples ? inputs[0] : nullptr;
    float* right = hasSamples ? inputs[1] : nullptr;

    const bool hugeInput = hasSamples && holdsHugeSample(left, right, sampleFrames);
    if (hasSamples) {
        inputMeter.update(left, right, sampleFrames);
        addDenormalGuard(left, right, sampleFrames);
    }

    // Band-major: the whole block passes band 0 before band 1 starts. Each
    // band's values are read just before its design, so an edit made during
    // the block already reaches the bands not yet designed. Coefficients are
    // designed afresh every block, also for an empty one.
    for (int band = 0; band < kBandCount; ++band) {
        const double leftGain = gainDb(bands.left[band].load(std::memory_order_relaxed));
        const double rightGain = gainDb(bands.right[band].load(std::memory_order_relaxed));
        BandFilter& leftFilter = leftFilters[band];
        BandFilter& rightFilter = rightFilters[band];
        leftFilter.design(bandCentreHz[band], sampleRate, bandwidthOctaves, leftGain);
        rightFilter.design(bandCentreHz[band], sampleRate, bandwidthOctaves, rightGain);
        if (hasSamples) {
            filterBand(leftFilter, rightFilter, left, right, sampleFrames);
            leftFilter.discardUnusableHistory();
            rightFilter.discardUnusableHistory();
        }
    }

    if (!hasSamples) {
        return;
    }
    if (hugeInput) {
        for (int band = 0; band < kBandCount; ++band) {
            leftFilters[band].clearHistory();
            rightFilters[band].clearHistory();
        }
    }
    outputMeter.update(left, right, sampleFrames);

    deliverBlock(left, right, outputs, sampleFrames, replacing);
}

}  // namespace vorn::engine
