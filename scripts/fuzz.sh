#!/usr/bin/env bash
# Builds the fuzz target of the simulated board's channel name parser with clang in
# build/fuzz and runs it (60 seconds unless a number of seconds is given).
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DZELBRIN_FUZZ=ON -DZELBRIN_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target simboard_channel_names_fuzz
mkdir -p build/fuzz/corpus
build/fuzz/tests/simboard/simboard_channel_names_fuzz -max_total_time="$seconds" \
    -dict=tests/simboard/fuzz/channel_names.dict build/fuzz/corpus tests/simboard/fuzz/seeds
