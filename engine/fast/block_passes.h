#pragma once
// The passes over a whole block around the wavefront kernel, on the widest
// registers the processor has: the denormal guard with the huge-sample check,
// the meters' look at a chunk, and the delivery into the host's outputs. Each
// gives exactly what the plain engine's loops give, sample by sample; the
// blocks of 32 frames that hosts often send spend much of their time outside
// the kernel, in these.

#include <cstdint>

#include "engine/fast/simd_level.h"

namespace vorn::engine {

// Frames a meter takes together (see FastLevelMeter).
constexpr int kMeterChunk = 32;

// For the meter's rule within one binade: over a chunk's frames k, the larger
// of each frame's two magnitudes, loudest_k.
struct ChunkPeaks {
    double best;    // max(meter - kMeterChunk * fall, max_k(loudest_k - (kMeterChunk - k) * fall))
    float loudest;  // max_k(loudest_k); NaN counts for nothing, -1 when every sample is NaN
};

struct BlockPasses {
    // `from` into `to`, which are the same arrays or apart, with the denormal
    // guard added (addDenormalGuard); whether a sample was beyond the usable
    // range before its offset (holdsHugeSample).
    bool (*guard)(const float* fromLeft, const float* fromRight, float* toLeft, float* toRight,
                  int32_t frames);
    // Whether all kMeterChunk frames are real numbers of magnitude below `limit`.
    bool (*quietChunk)(const float* left, const float* right, float limit);
    ChunkPeaks (*chunkPeaks)(const float* left, const float* right, double meter, double fall);
    // As deliverBlock, into outputs that do not overlap the block.
    void (*deliver)(const float* left, const float* right, float* outLeft, float* outRight,
                    int32_t frames, bool replacing);
};

// One per instruction set, each compiled for it alone.
extern const BlockPasses blockPassesSse2;
extern const BlockPasses blockPassesAvx2;
extern const BlockPasses blockPassesAvx512;

inline const BlockPasses& blockPassesFor(SimdLevel level) {
    switch (level) {
    case SimdLevel::avx512: return blockPassesAvx512;
    case SimdLevel::avx2: return blockPassesAvx2;
    case SimdLevel::sse2: break;
    }
    return blockPassesSse2;
}

}  // namespace vorn::engine
