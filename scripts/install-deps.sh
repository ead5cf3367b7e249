#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need.
#   scripts/install-deps.sh             what scripts/test.sh needs
#   scripts/install-deps.sh --packaging also what the packages, the documentation and the
#                                       fresh-machine check need
#   scripts/install-deps.sh --windows   also what the Windows cross-build and Wine need
#   scripts/install-deps.sh --anchors   also the plotting libraries the scope's frame is
#                                       measured against (scripts/bench-scope-anchors.sh)
# Quiet and quick when everything is already there; safe to run again.
set -euo pipefail

packages=(
    build-essential cmake pkg-config ccache
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-tools-dev
    libqt6opengl6-dev # Qt's UiTools CMake files need Qt6OpenGL; only a Recommends of qt6-base-dev
    libxcb1-dev # the display check before Qt starts
    nlohmann-json3-dev
    libexpected-dev # results or refusals inside the panel runtime (tl::expected)
    libcli11-dev help2man # arguments of the orvex and orvex-sim tools; orvex's manual page
    clang libclang-rt-14-dev
    clang-format clang-tidy clang-tools # scripts/check-style.sh; clang-tools for its --fix
    xvfb xauth x11-utils
    x11-apps netpbm python3-xlib # window capture and close request of the Xvfb scripts
    python3 python3-numpy python3-pytest python3-matplotlib # the Python package, its tests and examples
    flake8 mypy # scripts/check-style.sh's Python checks
    libhdf5-dev hdf5-tools python3-h5py # recordings in HDF5; h5dump and h5clear; the Python reader
)
case "${1:-}" in
--packaging) packages+=(doxygen lintian file dpkg-dev debootstrap git) ;;
--windows) packages+=(mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 googletest) ;;
--anchors) packages+=(libqcustomplot-dev python3-pyqtgraph python3-pyqt6) ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
else
    sudo=
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
