#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on the simulated board.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target zelbrin orvex_simboard
export ORVEX_DRIVER="$PWD/build/platform/simboard/liborvex_simboard.so"
exec build/zelbrin/zelbrin "$@"
