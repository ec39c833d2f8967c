#pragma once
// Bytes the C runtime has handed out and not taken back, for checks that a
// repeated operation leaves nothing behind. Zero where the runtime cannot
// tell (a sanitizer's allocator); those builds find leaks on their own.

#include <cstddef>

namespace vorn::checks {

size_t heapInUse();

}  // namespace vorn::checks
