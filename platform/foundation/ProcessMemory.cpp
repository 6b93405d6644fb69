#include "foundation/ProcessMemory.h"

#include <malloc.h>

namespace foundation {

namespace {

constexpr int kMappedBlockBytes = 256 << 10;
constexpr int kKeptTopBytes = 1 << 20;

}  // namespace

void ProcessMemory::limitRetainedMemory() {
    mallopt(M_MMAP_THRESHOLD, kMappedBlockBytes);
    mallopt(M_TRIM_THRESHOLD, kKeptTopBytes);
}

void ProcessMemory::releaseFreeMemory() {
    malloc_trim(0);
}

}  // namespace foundation
