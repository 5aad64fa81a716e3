#include "cli/LargeHeap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace cli {

void PrepareLargeHeap(std::size_t bytes) {
    constexpr std::size_t HugePage = std::size_t(2) << 20;
    constexpr int LargestHeapBlock = 32 << 20;  // glibc's ceiling for serving a block from the heap
    const std::size_t pad = std::min<std::size_t>(std::max(bytes, HugePage * 128), INT_MAX);

    mallopt(M_MMAP_THRESHOLD, LargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);  // keep freed memory for the next buffer
    mallopt(M_TOP_PAD, int(pad));        // grow the heap once, by all that the run will need

    // A block too large for the heap's free top makes it grow now; ask for huge pages on the
    // new region before any of it is touched.
    void* probe = std::malloc(LargestHeapBlock / 2);
    if (probe == nullptr) return;
    const auto start = (reinterpret_cast<std::uintptr_t>(probe) + HugePage - 1) & ~(HugePage - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    if (start < end) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    std::free(probe);
}

}  // namespace cli
