#pragma once

namespace foundation {

// How the process's allocator gives memory back to the system.
class ProcessMemory {
  public:
    // Once, before any thread starts. Blocks of a quarter of a mebibyte or more (a decompressor's
    // dictionary, a piece of a text being read) are mapped on their own and unmapped when freed,
    // and a heap gives back what is free at its top beyond a mebibyte. Left alone, the allocator
    // raises both limits to the largest block freed so far: one 8 MiB dictionary let each
    // thread's heap keep 16 MiB it no longer used.
    static void limitRetainedMemory();
    // Gives back to the system the free memory inside every thread's heap, not only at its top:
    // after work of tens of megabytes, what is left free between the blocks still in use stays
    // the process's otherwise.
    static void releaseFreeMemory();
};

}  // namespace foundation
