#pragma once
// The level meter the fast engine ships: the same readings as LevelMeter,
// bit for bit, without walking the block one frame at a time where that
// cannot change the result.

#include <cstdint>

#include "engine/fast/block_passes.h"
#include "engine/fast/simd_level.h"
#include "engine/level_meter.h"

namespace vorn::engine {

class FastLevelMeter : public LevelMeter {
public:
    // The level is fixed for the meter's life; tests pass each level the
    // processor offers.
    explicit FastLevelMeter(SimdLevel level = bestSimdLevel());

    // As LevelMeter::update.
    void update(const float* left, const float* right, int32_t frames);

    // Frames taken together.
    static constexpr int kChunk = kMeterChunk;

    // The running value after kChunk more frames: afterFrame kChunk times.
    static double afterChunk(double meter, const float* left, const float* right,
                             const BlockPasses& passes);

private:
    const BlockPasses* passes;
};

}  // namespace vorn::engine
