// The passes over a whole block for registers of 16 floats; this file alone is
// compiled for its instruction set.

#include "engine/fast/block_passes_impl.h"

namespace vorn::engine {

const BlockPasses blockPassesAvx512 = passes::Passes<16>::table();

}  // namespace vorn::engine
