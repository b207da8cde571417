// The fuzz targets' assertion: a broken promise is reported and aborts, so that
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzing {

inline void requireThat(bool condition, const std::string& promise) {
    if (condition)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", promise.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzzing
