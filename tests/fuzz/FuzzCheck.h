#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property ends the run as a crash does, so that libFuzzer keeps and prints the input.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__);                    \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
