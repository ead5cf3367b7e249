// The fuzz targets' check: a broken promise ends the run, which libFuzzer records with the
// input that broke it.
#ifndef ZELBRIN_TESTS_FUZZ_REQUIRE_H
#define ZELBRIN_TESTS_FUZZ_REQUIRE_H

#include <cstdlib>

inline void fuzzRequire(bool condition) {
    if (!condition) {
        std::abort();
    }
}

#endif
