#pragma once

// Comparing samples and readings by their bits, for the fast engine's tests.

#include <cmath>
#include <cstdint>
#include <cstring>

namespace vorn::engine::testing {

inline uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// NaN compares as NaN (its payload may differ); everything else by its bits.
inline bool sameSample(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return bitsOf(a) == bitsOf(b);
}

}  // namespace vorn::engine::testing
