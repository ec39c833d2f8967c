// The passes over a whole block for registers of 8 floats; this file alone is
// compiled for its instruction set.

#include "engine/fast/block_passes_impl.h"

namespace vorn::engine {

const BlockPasses blockPassesAvx2 = passes::Passes<8>::table();

}  // namespace vorn::engine
