#pragma once
// The level meter the fast engine ships: the same readings as LevelMeter,
// bit for bit, without walking the block one frame at a time where that
// cannot change the result (meter_chunks.h).

#include <cstdint>

#include "engine/fast/block_passes.h"
#include "engine/fast/simd_level.h"
#include "engine/level_meter.h"

namespace vorn::engine {

class FastLevelMeter : public LevelMeter {
public:
    // The level is fixed for the meter's life; tests pass each level the
    // processor offers.
    explicit FastLevelMeter(SimdLevel level = bestSimdLevel())
        : passes(&blockPassesFor(simdLevelSupported(level) ? level : SimdLevel::sse2)) {}

    // As LevelMeter::update.
    void update(const float* left, const float* right, int32_t frames) {
        if (frames > 0) publish(passes->meterFrames(level(), left, right, frames));
    }

private:
    const BlockPasses* passes;
};

}  // namespace vorn::engine
