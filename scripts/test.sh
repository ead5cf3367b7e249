#!/usr/bin/env bash
# Installs what is missing, builds everything in build/ and runs every test.
#   scripts/test.sh             the normal build
#   scripts/test.sh --sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer,
#                               in build/sanitize
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build_dir=build
options=()
if [ "${1:-}" = "--sanitize" ]; then
    build_dir=build/sanitize
    options=(-DORVEX_SANITIZE=ON -DORVEX_BUILD_BENCH=OFF)
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
fi

cmake -S . -B "$build_dir" "${options[@]}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
