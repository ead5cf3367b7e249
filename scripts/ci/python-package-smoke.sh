#!/usr/bin/env bash
# The Python package as a lab programmer gets it: unpacks python3-orvex, liborvex0,
# liborvex-recording0 and orvex-simboard from build/packages (made by scripts/package.sh) into a scratch root and
# runs the smoke test with Debian's python3 against the packaged library and board; then
# installs the package with pip, as Python users do, into a virtual environment in the
# same root (Debian's setuptools and numpy, nothing downloaded) and runs the test again.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(mktemp -d /tmp/orvex-python-package.XXXXXX)
trap 'rm -rf "$root"' EXIT

for package in python3-orvex liborvex0 liborvex-recording0 orvex-simboard; do
    deb=$(ls build/packages/"$package"_*.deb 2>/dev/null | head -n1)
    [ -n "$deb" ] || { echo "scripts/ci/python-package-smoke.sh: no $package package in build/packages" >&2; exit 1; }
    dpkg-deb -x "$deb" "$root"
done
libdir=$root/usr/lib/$(gcc -print-multiarch)
# The package finds the library as an installed one would, by its soname.
run_smoke() {
    LD_LIBRARY_PATH=$libdir ORVEX_DRIVER=$libdir/orvex/liborvex_simboard.so \
        ORVEX_SIM_BENCH=$PWD/tests/python/stand.json PYTHONDONTWRITEBYTECODE=1 \
        "$@" tests/python/package/smoke.py "$root"
}
PYTHONPATH=$root/usr/lib/python3/dist-packages run_smoke /usr/bin/python3

# pip builds in the source folder: a copy keeps the tree clean.
cp -r python "$root/source"
/usr/bin/python3 -m venv --system-site-packages "$root/venv"
"$root/venv/bin/python" -m pip install --quiet --no-build-isolation --no-index "$root/source"
run_smoke "$root/venv/bin/python"
