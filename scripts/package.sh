#!/usr/bin/env bash
# Builds the Debian packages liborvex0, liborvex-dev, orvex-simboard, zelbrin,
# orvex-scope, orvex-tools, liborvex-recording0 and python3-orvex into build/packages/
# (an optimised build in build/package, installed under /usr) and checks them with
# lintian, which must report no error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --packaging

build_dir=build/package
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DORVEX_BUILD_TESTS=OFF -DORVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)"

rm -rf build/packages
cpack --config "$build_dir/CPackConfig.cmake" -B "$build_dir/cpack" >/dev/null
mkdir -p build/packages
mv "$build_dir"/cpack/*.deb build/packages/
rm -rf "$build_dir/cpack"

# Errors fail the build; warnings are shown.
lintian --fail-on error --suppress-tags-from-file /dev/null build/packages/*.deb
ls -1 build/packages
