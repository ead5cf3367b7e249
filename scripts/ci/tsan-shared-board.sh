#!/usr/bin/env bash
# The shared board's state code under ThreadSanitizer: a small build of its tests alone,
# in build/tsan.  The tests of many processes at once are left out: each process has its
# own sanitizer, which cannot see another's threads.
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=build/tsan
cmake -S . -B "$build_dir" -DZELBRIN_BUILD_APP=OFF -DORVEX_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target orvex_simboard_store_tests orvex_simboard_shared_tests
export TSAN_OPTIONS="halt_on_error=1"
"$build_dir/tests/simboard/orvex_simboard_store_tests"
"$build_dir/tests/simboard/orvex_simboard_shared_tests" --gtest_filter=-*EightProcesses*
