#include "tests/through_entry/heap_in_use.h"

#if defined(_WIN32)
#include <windows.h>

#include <vector>
#else
#include <malloc.h>
#endif

namespace vorn::checks {

#if defined(_WIN32)
// The C runtime allocates from heaps of its own, so every heap of the
// process is walked and its busy blocks summed.
size_t heapInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    const DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    size_t total = 0;
    for (DWORD i = 0; i < count && i < heaps.size(); ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}
#else
size_t heapInUse() { return mallinfo2().uordblks; }
#endif

}  // namespace vorn::checks
