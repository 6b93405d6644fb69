#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A failure aborts, which the fuzzer reports with the input
// that broke it; assert() is no use here, as the fuzz build may define NDEBUG.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)
