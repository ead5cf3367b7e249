// The fuzz targets' check: a broken promise ends the run, which libFuzzer records with the
// input that broke it.
#ifndef TESTS_FUZZ_FUZZ_REQUIRE_H
#define TESTS_FUZZ_FUZZ_REQUIRE_H

#include <cstdlib>

inline void fuzzRequire(bool condition) {
    if (!condition) {
        std::abort();
    }
}

#endif
