#!/usr/bin/env bash
# Starts the built program on the simulated board in a real X window under Xvfb, waits
# for its window, closes it as a user would and checks that the program ends with 0.
#   scripts/xvfb-smoke.sh [build-dir]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
source scripts/xvfb-window.sh

window=$(wait_for_window)
close_window "$window"
expect_clean_exit
echo "xvfb-smoke: the window opened and closed; exit status 0"
