#include "engine/fast/fast_equalizer_engine.h"

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

SimdLevel supportedOrBaseline(SimdLevel level) {
    return simdLevelSupported(level) ? level : SimdLevel::sse2;
}

// Whether two arrays of `frames` samples are the same or do not overlap.
bool sameOrApart(const float* a, const float* b, int32_t frames) {
    const auto first = reinterpret_cast<uintptr_t>(a), second = reinterpret_cast<uintptr_t>(b);
    const uintptr_t size = static_cast<uintptr_t>(frames < 0 ? 0 : frames) * sizeof(float);
    return first == second || first + size <= second || second + size <= first;
}

}  // namespace

FastEqualizerEngine::FastEqualizerEngine(SimdLevel level)
    : inputMeter(supportedOrBaseline(level)),
      outputMeter(supportedOrBaseline(level)),
      simdLevel(supportedOrBaseline(level)),
      passes(&blockPassesFor(simdLevel)),
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
    if (sampleFrames <= 0) return;
    // A host's arrays may be the same for input and output; if one overlaps
    // another without being it, which no sensible host asks for, the output
    // goes out frame by frame, as the plain engine's does.
    const bool outputsApart = sameOrApart(outputs[0], outputs[1], sampleFrames) &&
                              sameOrApart(inputs[0], outputs[0], sampleFrames) &&
                              sameOrApart(inputs[0], outputs[1], sampleFrames) &&
                              sameOrApart(inputs[1], outputs[0], sampleFrames) &&
                              sameOrApart(inputs[1], outputs[1], sampleFrames);
    processFrom(inputs, inputs, outputs, sampleFrames, replacing, outputsApart);
}

void FastEqualizerEngine::processDesigned(const float* const* sources, float** working,
                                          float** outputs, int32_t sampleFrames, bool replacing) {
    processFrom(sources, working, outputs, sampleFrames, replacing,
                sameOrApart(outputs[0], outputs[1], sampleFrames));
}

void FastEqualizerEngine::processFrom(const float* const* sources, float** working,
                                      float** outputs, int32_t frames, bool replacing,
                                      bool outputsApart) {
    if (frames <= 0) return;

    // The input meter reads the input as it came, before the guard.
    inputMeter.update(sources[0], sources[1], frames);
    const bool hugeInput = passes->guard(sources[0], sources[1], working[0], working[1], frames);
    runKernel(state, working[0], working[1], frames, hugeInput);
    outputMeter.update(working[0], working[1], frames);
    // Whole registers at a time give what the plain engine's frame-by-frame
    // loop gives, unless the arrays overlap.
    if (outputsApart)
        passes->deliver(working[0], working[1], outputs[0], outputs[1], frames, replacing);
    else
        deliverBlock(working[0], working[1], outputs, frames, replacing);
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
