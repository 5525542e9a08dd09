#pragma once

#include <cstdio>
#include <cstdlib>

// A fuzz target's own assertion: a broken promise of a reader is a finding
// like a crash, with the promise named.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
