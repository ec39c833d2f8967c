#include "engine/fast/simd_level.h"

namespace vorn::engine {

const char* simdLevelName(SimdLevel level) {
    switch (level) {
    case SimdLevel::sse2: return "SSE2";
    case SimdLevel::avx2: return "AVX2";
    case SimdLevel::avx512: return "AVX-512";
    }
    return "?";
}

bool simdLevelSupported(SimdLevel level) {
    // The compiler's runtime asks the processor, and for the wider levels
    // also whether the operating system saves their registers.
    switch (level) {
    case SimdLevel::sse2: return true;
    case SimdLevel::avx2: return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case SimdLevel::avx512: return __builtin_cpu_supports("avx512f");
    }
    return false;
}

SimdLevel bestSimdLevel() {
    static const SimdLevel best = [] {
        __builtin_cpu_init();
        if (simdLevelSupported(SimdLevel::avx512)) return SimdLevel::avx512;
        if (simdLevelSupported(SimdLevel::avx2)) return SimdLevel::avx2;
        return SimdLevel::sse2;
    }();
    return best;
}

}  // namespace vorn::engine
