#pragma once
// The passes over a whole block around the wavefront kernel, on the widest
// registers the processor has: the denormal guard with the huge-sample check,
// the level meters, and the delivery into the host's outputs. Each gives
// exactly what the plain engine's loops give; a block of 32 frames, which
// hosts often send, spends a good part of its time in these.

#include <cstdint>

#include "engine/fast/simd_level.h"

namespace vorn::engine {

// Frames the level meters take together (see meter_chunks.h).
constexpr int kMeterChunk = 32;

struct BlockPasses {
    // `from` into `to`, which are the same arrays or apart, with the denormal
    // guard added (addDenormalGuard); whether a sample was beyond the usable
    // range before its offset (holdsHugeSample).
    bool (*guard)(const float* fromLeft, const float* fromRight, float* toLeft, float* toRight,
                  int32_t frames);
    // A level meter's running value after `frames` more frames: what
    // LevelMeter::afterFrame gives frame by frame.
    double (*meterFrames)(double meter, const float* left, const float* right, int32_t frames);
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
