#!/usr/bin/env bash
# Cross-builds the library, the simulated board, the terminal tool and their tests for
# 64-bit Windows into build/windows with MinGW-w64, and packs the ZIP
# (build/windows/orvex-*-win64.zip).
#   scripts/build-windows.sh          build and pack
#   scripts/build-windows.sh --test   and run the tests under Wine as well
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows

build_dir=build/windows
# One Wine server for the whole build, so that the test discovery after each link finds
# Wine started already.  It ends half a minute after its last program.
if command -v wineserver >/dev/null; then
    prefix=$PWD/$build_dir/wine-prefix
    bash scripts/wine-run.sh "$prefix" cmd /c exit # makes the prefix if need be
    WINEPREFIX=$prefix wineserver -w
    WINEPREFIX=$prefix wineserver -p30
fi
cmake -S . -B "$build_dir" --toolchain cmake/toolchain-mingw64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DZELBRIN_BUILD_APP=OFF -DORVEX_BUILD_BENCH=OFF -DORVEX_BUILD_TOOLS=ON >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
rm -f "$build_dir"/orvex-*-win64.zip # one of an older version would be listed too
(cd "$build_dir" && cpack -G ZIP >/dev/null)
ls "$build_dir"/orvex-*-win64.zip

if [ "${1:-}" = "--test" ]; then
    ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
fi
