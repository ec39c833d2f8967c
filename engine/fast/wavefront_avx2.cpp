// The wavefront kernel for registers of 4 doubles; this file alone is
// compiled for its instruction set.

#include "engine/fast/wavefront_kernel.h"
#include "engine/fast/wavefront_kernels.h"

namespace vorn::engine::wavefront {

void runAvx2(WavefrontState& state, float* left, float* right, int32_t frames, bool restartAll) {
    Kernel<4>::run(state, left, right, frames, restartAll);
}

}  // namespace vorn::engine::wavefront
