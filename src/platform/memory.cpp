// The allocator's thresholds and trimming, through glibc.
#include "platform/memory.h"

#include <malloc.h>

namespace platform {

void KeepFreedMemory() {
    // Buffers up to 64 MB come from the heap, and the heap gives back nothing below 256 MB free.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

void KeepFreedMemoryInOneHeap() {
    KeepFreedMemory();
    mallopt(M_ARENA_MAX, 1);
}

void ReturnFreedMemory() { malloc_trim(0); }

}  // namespace platform
