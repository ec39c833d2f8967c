#pragma once
// One entry per instruction set; the caller picks the one the processor runs.

#include <cstdint>

#include "engine/fast/simd_level.h"
#include "engine/fast/wavefront_state.h"

namespace vorn::engine::wavefront {

// Filters a block of `frames` in place, then restarts from silence every
// filter whose history is unusable, or every filter with `restartAll`.
void runSse2(WavefrontState& state, float* left, float* right, int32_t frames, bool restartAll);
void runAvx2(WavefrontState& state, float* left, float* right, int32_t frames, bool restartAll);
void runAvx512(WavefrontState& state, float* left, float* right, int32_t frames, bool restartAll);

using Run = void (*)(WavefrontState& state, float* left, float* right, int32_t frames,
                     bool restartAll);

inline Run kernelFor(SimdLevel level) {
    switch (level) {
    case SimdLevel::avx512: return runAvx512;
    case SimdLevel::avx2: return runAvx2;
    case SimdLevel::sse2: break;
    }
    return runSse2;
}

inline int lanesFor(SimdLevel level) {
    switch (level) {
    case SimdLevel::avx512: return 8;
    case SimdLevel::avx2: return 4;
    case SimdLevel::sse2: break;
    }
    return 2;
}

}  // namespace vorn::engine::wavefront
