#!/usr/bin/env bash
# The library as a lab programmer gets it.  Builds the Debian packages, unpacks them into
# a staging root and, on the packaged simulated board, builds and runs the examples
# three ways: a C-only CMake project with find_package(orvex), a plain Makefile with
# pkg-config, and the same CMake project adding this source tree with add_subdirectory.
# Each run's printed values are checked.
set -euo pipefail
cd "$(dirname "$0")/../.."
checkout=$PWD

bash scripts/package.sh

work=$(mktemp -d /tmp/orvex-ci-packages.XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
for deb in build/packages/*.deb; do
    dpkg-deb -x "$deb" "$root"
done
libdir=$root/usr/lib/$(gcc -print-multiarch)

fail() {
    echo "scripts/ci/packages.sh: $*" >&2
    exit 1
}

# Runs the examples built in $1 and checks what they print.
run_examples() {
    local dir=$1 how=$2 out
    out=$("$dir/ports_and_lines") || fail "$how: ports_and_lines failed: $out"
    [ "$(awk '{print $NF}' <<<"$out" | paste -sd' ')" = "0x05 0x00 0x05" ] ||
        fail "$how: ports_and_lines printed: $out"

    out=$("$dir/analog_loopback") || fail "$how: analog_loopback failed: $out"
    grep -q "^orvex 0.3.0 (header 0.3.0), driver $ORVEX_DRIVER\$" <<<"$out" ||
        fail "$how: analog_loopback named another version or driver: $out"
    awk '/^ao0/ { n++; d = $2 - $6; if (d < 0) d = -d; if (d >= 0.010) bad = 1 }
         END { exit (n == 4 && !bad) ? 0 : 1 }' <<<"$out" ||
        fail "$how: ai0 did not read back ao0 within 10 mV: $out"

    out=$("$dir/triggered_acquisition") || fail "$how: triggered_acquisition failed: $out"
    awk '/^read/ { n = $2 } /^first/ { first = $2 } /^last/ { last = $2 }
         END { exit (n == 200 && first >= 0.95 && first <= 1.10 && last > first + 0.5) ? 0 : 1 }' \
        <<<"$out" || fail "$how: the acquisition did not start at the 1 V trigger: $out"

    out=$("$dir/scan_to_csv") || fail "$how: scan_to_csv failed: $out"
    awk -F, '/^[0-9]/ { n++; if (NF != 5) bad = 1 } END { exit (n == 1000 && !bad) ? 0 : 1 }' \
        <<<"$out" || fail "$how: scan_to_csv did not print 1000 scans of four channels"

    out=$("$dir/stimulus_response") || fail "$how: stimulus_response failed: $out"
    awk '/^step written/ { w = $NF } /^step seen/ { s = $NF }
         END { exit (s >= w && s <= w + 1) ? 0 : 1 }' <<<"$out" ||
        fail "$how: the step on ao0 was not seen on ai0 at its scan: $out"
    echo "$how: the five examples ran and printed the expected values"
}

export ORVEX_DRIVER=$libdir/orvex/liborvex_simboard.so

cmake -S examples -B "$work/find_package" -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$work/find_package" >/dev/null
run_examples "$work/find_package" "find_package(orvex)"

mkdir "$work/make" && cp examples/*.c examples/*.h examples/Makefile "$work/make/"
PKG_CONFIG_PATH=$libdir/pkgconfig make -s -C "$work/make" >/dev/null
LD_LIBRARY_PATH=$libdir run_examples "$work/make" "pkg-config"

bash tests/consumer/face_only/check.sh "$root/usr" "$libdir/pkgconfig" "$work/face_only"

cmake -S examples -B "$work/add_subdirectory" -DORVEX_SOURCE_DIR="$checkout" >/dev/null
cmake --build "$work/add_subdirectory" -j"$(nproc)" >/dev/null
ORVEX_DRIVER=$work/add_subdirectory/orvex/platform/simboard/liborvex_simboard.so \
    run_examples "$work/add_subdirectory" "add_subdirectory"

# The packaged program finds its panel file in the data directory and keeps its window
# open until it is stopped (status 124 from timeout); without the panel file it would end
# at once with status 1.
status=0
QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH=$libdir timeout 5 "$root/usr/bin/zelbrin" || status=$?
[ "$status" -eq 124 ] || fail "the packaged zelbrin ended with status $status"
echo "zelbrin: the packaged program opened its window"
