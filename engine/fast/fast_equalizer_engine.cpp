#include "engine/fast/fast_equalizer_engine.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "engine/bands.h"
#include "engine/equalizer_engine.h"

namespace vorn::engine {
namespace {

constexpr int kLeft = 0;
constexpr int kRight = 1;

template <typename Bits, typename Value>
Bits bitsOf(Value value) {
    static_assert(sizeof(Bits) == sizeof(Value), "same size");
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// addDenormalGuard and holdsHugeSample in one pass: whether a sample is
// beyond the usable range before its offset is added.
bool guardNotingHugeSamples(float* left, float* right, int32_t frames) {
    int huge = 0;
    for (int32_t k = 0; k < frames; ++k) {
        huge |= (std::fabs(left[k]) > kLargestUsableHistory) |
                (std::fabs(right[k]) > kLargestUsableHistory);
        const float offset = (k % 2 == 0) ? kDenormalGuard : -kDenormalGuard;
        left[k] += offset;
        right[k] += offset;
    }
    return huge != 0;
}

}  // namespace

FastEqualizerEngine::FastEqualizerEngine(SimdLevel level)
    : simdLevel(simdLevelSupported(level) ? level : SimdLevel::sse2),
      layout(LaneLayout::forLanes(wavefront::lanesFor(simdLevel))),
      runKernel(wavefront::kernelFor(simdLevel)) {
    // Real lanes start as the plain engine's filters do, all zero, and are
    // designed before use.
    clearLanes(state, layout);
}

void FastEqualizerEngine::designBand(int band, int channel, float value) {
    BandFilter filter;
    filter.design(shapes[band], gainDb(value));
    placeCoefficients(state, layout, band, channel, filter);
    designedFrom.valueBits[channel][band] = bitsOf<uint32_t>(value);
}

void FastEqualizerEngine::design(const BandValues& bands, double sampleRate) {
    // Most blocks find every value as it was: one pass without branches
    // compares them all, and only a block that finds a change looks further.
    const uint64_t rateBits = bitsOf<uint64_t>(sampleRate);
    const bool everyBand = !designedFrom.designed || designedFrom.rateBits != rateBits;
    uint32_t valueBits[2][kBandCount];
    uint32_t changed = everyBand;
    for (int channel : {kLeft, kRight}) {
        const std::atomic<float>* values = channel == kLeft ? bands.left : bands.right;
#pragma GCC unroll 30
        for (int band = 0; band < kBandCount; ++band) {
            valueBits[channel][band] = bitsOf<uint32_t>(values[band].load(std::memory_order_relaxed));
            changed |= valueBits[channel][band] ^ designedFrom.valueBits[channel][band];
        }
    }
    if (!changed) return;

    if (everyBand) {
        for (int band = 0; band < kBandCount; ++band)
            shapes[band] = bandShape(bandCentreHz[band], sampleRate, bandwidthOctaves);
    }
    designedFrom.designed = true;
    designedFrom.rateBits = rateBits;
    for (int channel : {kLeft, kRight}) {
        for (int band = 0; band < kBandCount; ++band) {
            if (everyBand || designedFrom.valueBits[channel][band] != valueBits[channel][band])
                designBand(band, channel, bitsOf<float>(valueBits[channel][band]));
        }
    }
}

void FastEqualizerEngine::processBlock(float** inputs, float** outputs, int32_t sampleFrames,
                                       bool replacing, const BandValues& bands,
                                       double sampleRate) {
    design(bands, sampleRate);
    processDesigned(inputs, outputs, sampleFrames, replacing);
}

void FastEqualizerEngine::processDesigned(float** inputs, float** outputs, int32_t sampleFrames,
                                          bool replacing) {
    if (sampleFrames <= 0) return;

    float* left = inputs[0];
    float* right = inputs[1];
    inputMeter.update(left, right, sampleFrames);
    const bool hugeInput = guardNotingHugeSamples(left, right, sampleFrames);
    runKernel(state, left, right, sampleFrames, hugeInput);
    outputMeter.update(left, right, sampleFrames);

    deliverBlock(left, right, outputs, sampleFrames, replacing);
}

BandFilter FastEqualizerEngine::filter(int band, int channel) const {
    const int lane = layout.laneOf(band, channel);
    BandFilter filter;
    filter.b0 = static_cast<float>(state.coefficients.b0[lane]);
    filter.b1 = static_cast<float>(state.coefficients.b1[lane]);
    filter.b2 = static_cast<float>(state.coefficients.b2[lane]);
    filter.a1 = static_cast<float>(state.coefficients.a1[lane]);
    filter.a2 = static_cast<float>(state.coefficients.a2[lane]);
    filter.x1 = static_cast<float>(state.x1[lane]);
    filter.x2 = static_cast<float>(state.x2[lane]);
    filter.y1 = static_cast<float>(state.y1[lane]);
    filter.y2 = static_cast<float>(state.y2[lane]);
    return filter;
}

}  // namespace vorn::engine
