// The passes over a whole block for registers of 4 floats; this file alone is
// compiled for its instruction set.

#include "engine/fast/block_passes_impl.h"

namespace vorn::engine {

const BlockPasses blockPassesSse2 = passes::Passes<4>::table();

}  // namespace vorn::engine
