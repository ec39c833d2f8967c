#pragma once
// The engine the plug-in ships: the same output, bit for bit, as the plain
// EqualizerEngine (which stays as the statement of what is computed and as
// the reference the tests hold this one to), made fast in two ways:
//  - a band is designed only when its band value or the sample rate differs
//    from what it was last designed from;
//  - the sixty recursions advance together as a wavefront in the lanes of
//    vector registers, with the widest instruction set the processor has.
// No latency is added: the wavefront starts and drains inside each block.

#include <cstdint>

#include "engine/band_filter.h"
#include "engine/band_values.h"
#include "engine/fast/block_passes.h"
#include "engine/fast/fast_level_meter.h"
#include "engine/fast/simd_level.h"
#include "engine/fast/wavefront_kernels.h"
#include "engine/fast/wavefront_state.h"

namespace vorn::engine {

class FastEqualizerEngine {
public:
    // The level is fixed for the engine's life; tests pass each level the
    // processor offers.
    explicit FastEqualizerEngine(SimdLevel level = bestSimdLevel());

    // As EqualizerEngine::processBlock: `inputs` are the working storage and
    // hold the equalized signal afterwards; `replacing` overwrites the
    // outputs, otherwise the result is added to them.
    void processBlock(float** inputs, float** outputs, int32_t sampleFrames, bool replacing,
                      const BandValues& bands, double sampleRate);

    // The two halves of processBlock, for a caller that alone writes its band
    // values and so knows when one changed: the designs (of what changed
    // since the last, as processBlock makes them), then a block at the
    // designs made last. Nothing is designed before the first design.
    //
    // The block is read from `sources`, which stay as they are, and
    // equalized in `working`, arrays of the caller's own that overlap none
    // of the others: the input is copied there on the way, in the pass that
    // adds the denormal guard.
    void design(const BandValues& bands, double sampleRate);
    void processDesigned(const float* const* sources, float** working, float** outputs,
                         int32_t sampleFrames, bool replacing);

    SimdLevel level() const { return simdLevel; }

    // One band's filter as the plain engine would hold it (coefficients and
    // history), for tests.
    BandFilter filter(int band, int channel) const;

    FastLevelMeter inputMeter;
    FastLevelMeter outputMeter;

private:
    // What the bands were last designed from, compared bit for bit: one
    // sample rate for all, and each band's value on each channel.
    struct DesignedFrom {
        bool designed = false;
        uint64_t rateBits = 0;
        uint32_t valueBits[2][kBandCount] = {};
    };

    void designBand(int band, int channel, float value);
    // A block read from `sources` and equalized in `working`, the same
    // arrays or apart. With `outputsApart`, no output array overlaps another
    // array of the block without being it.
    void processFrom(const float* const* sources, float** working, float** outputs, int32_t frames,
                     bool replacing, bool outputsApart);

    SimdLevel simdLevel;
    const BlockPasses* passes;
    LaneLayout layout;
    wavefront::Run runKernel;
    DesignedFrom designedFrom;
    BandShape shapes[kBandCount];  // for the sample rate designed from
    WavefrontState state{};
};

}  // namespace vorn::engine
