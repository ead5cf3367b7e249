#!/usr/bin/env bash
# Takes the README's picture of the window: starts the built program on the simulated
# board under Xvfb with the setup of docs/screenshot-setup.ini (a trace), makes the window
# larger as a user would, lets the timers run for a while, saves the window as
# docs/screenshot.png and closes the program.
#   scripts/screenshot.sh [build-dir]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
program_arguments=(--setup docs/screenshot-setup.ini)
source scripts/xvfb-window.sh

window=$(wait_for_window)
resize_window "$window" 1100 720
sleep 4 # the joystick moves and the indicators settle
mkdir -p docs
xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >docs/screenshot.png
close_window "$window"
expect_clean_exit
echo "screenshot: docs/screenshot.png"
