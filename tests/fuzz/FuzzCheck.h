#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// A broken property ends the run as a crash does, so that libFuzzer keeps and prints the input.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__);                    \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace zelvano::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace zelvano::fuzz
