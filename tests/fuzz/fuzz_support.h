#pragma once
// What the fuzz targets share: a failed property ends the run like a sanitizer report does.

#include <cstdio>
#include <cstdlib>

#define FUZZ_EXPECT(condition)                                                        \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)
