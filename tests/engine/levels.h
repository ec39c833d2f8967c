#pragma once

// The instruction sets this processor offers, for tests that run each.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/fast/simd_level.h"

namespace vorn::engine::testing {

inline std::vector<SimdLevel> offeredLevels() {
    std::vector<SimdLevel> levels;
    for (SimdLevel level : {SimdLevel::sse2, SimdLevel::avx2, SimdLevel::avx512})
        if (simdLevelSupported(level)) levels.push_back(level);
    return levels;
}

// A test name for a level: SSE2, AVX2, AVX512.
inline std::string levelName(const ::testing::TestParamInfo<SimdLevel>& info) {
    std::string name = simdLevelName(info.param);
    name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
    return name;
}

}  // namespace vorn::engine::testing
