#pragma once

#include <cstdint>

#include "engine/band_filter.h"
#include "engine/band_values.h"
#include "engine/bands.h"
#include "engine/level_meter.h"

namespace vorn::engine {

// The stereo thirty-band cascade with its two meters. Filter state lives here
// and is never reset after construction: a new gain, program or sample rate
// takes effect at the next block, on the history the old settings left.
class EqualizerEngine {
public:
    // One block on the audio thread. `inputs` are the working storage and hold
    // the equalized signal afterwards; `replacing` overwrites the outputs,
    // otherwise the result is added to them. With sampleFrames <= 0 only the
    // sixty designs run: no array, level or history is touched.
    void processBlock(float** inputs, float** outputs, int32_t sampleFrames, bool replacing,
                      const BandValues& bands, double sampleRate);

    BandFilter leftFilters[kBandCount];
    BandFilter rightFilters[kBandCount];
    LevelMeter inputMeter;
    LevelMeter outputMeter;
};

// Offset added to every input sample, + on even and - on odd indices,
// restarting with + at each block. Silence becomes a tiny alternating signal
// that keeps the recursions away from denormal numbers, which would cost
// hundreds of cycles per step on some processors; any sample above ~2e-18 is
// left unchanged by the addition.
constexpr float kDenormalGuard = 1e-25f;

void addDenormalGuard(float* left, float* right, int32_t frames);

// The equalized block into the host's outputs: overwritten with replacing,
// added to them otherwise.
void deliverBlock(const float* left, const float* right, float** outputs, int32_t frames,
                  bool replacing);

// Whether a block's input holds a sample beyond kLargestUsableHistory. Such a
// sample passes through every band's history within two steps, and what it
// leaves behind (its rounding errors, ringing in the low bands for seconds)
// looks like ordinary audio by the end of the block; so after such a block
// every filter restarts from silence, as one that holds a non-finite value
// does. NaN does not count here: it stays in the history and is found there.
bool holdsHugeSample(const float* left, const float* right, int32_t frames);

// Runs one block of both channels through one band's pair of filters. Kept
// out of line so that the loop is compiled once, on its own, with every
// register free for the two recursions.
void filterBand(BandFilter& leftFilter, BandFilter& rightFilter, float* left, float* right,
                int32_t frames);

}  // namespace vorn::engine
