#pragma once
// The vector instruction sets the fast engine has kernels for. SSE2 is the
// baseline every build may assume; the wider ones are used only where the
// running processor (and its operating system) reports them. The AVX2 kernel
// also uses the fused multiply-add instructions that came with it (AVX-512
// has its own), so that level needs both.

namespace vorn::engine {

enum class SimdLevel { sse2, avx2, avx512 };

const char* simdLevelName(SimdLevel level);

// Whether this processor can run the kernel of that level.
bool simdLevelSupported(SimdLevel level);

// The widest supported level, found once per process.
SimdLevel bestSimdLevel();

}  // namespace vorn::engine
