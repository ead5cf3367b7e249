#!/usr/bin/env bash
# The window on the board that processes share, under Xvfb: a switch pressed and the
# joystick held from another process (orvex-sim) show in the window at its next refresh,
# and a second window on the same board is refused the ports the first one holds.
#   scripts/xvfb-shared-board.sh [build-dir]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
# The board's state file goes to the runtime directory the window script makes.
source scripts/xvfb-window.sh
sim="$build_dir/tools/orvex-sim/orvex-sim"
[ -x "$sim" ] || fail "$sim is missing; build the target orvex_sim first"

window=$(wait_for_window)

capture() {
    xwd -silent -id "$window" | xwdtopnm 2>/dev/null >"$work_dir/$1.ppm"
}

# Prints the number of pixels that differ and their bounding box: "count x0 y0 x1 y1".
compare() {
    /usr/bin/python3 scripts/ppm_image.py diff "$work_dir/$1.ppm" "$work_dir/$2.ppm"
}

# A still stand: every switch up, the stick held in the middle without noise.
"$sim" stand bench '{"switches": {"S1": "released", "S2": "released", "S3": "released",
    "S4": "released"}, "joystick": {"hold": {"x": 2.5, "y": 2.5}, "noise": 0}}'
# Settled once two pictures a refresh or more apart are the same.
capture still
for _ in $(seq 50); do
    sleep 0.3
    capture still-again
    read -r count _ < <(compare still still-again)
    [ "$count" -eq 0 ] && break
    mv "$work_dir/still-again.ppm" "$work_dir/still.ppm"
done
[ "$count" -eq 0 ] || fail "the window keeps changing on a still stand ($count pixels)"

# Waits up to 10 s for the window to differ from picture $1, as picture $2; prints
# compare's result.
wait_for_change() {
    local result
    for _ in $(seq 100); do
        sleep 0.1
        capture "$2"
        result=$(compare "$1" "$2")
        [ "${result%% *}" -gt 0 ] && break
    done
    echo "$result"
}

"$sim" stand press S1
read -r count x0 y0 x1 y1 < <(wait_for_change still pressed)
[ "$count" -gt 0 ] || fail "pressing S1 from another process changed nothing in the window"
# The S1 indicator lights and the indicator of its line (port 1 line 4) goes dark; nothing
# else changes.
[ $((x1 - x0)) -lt 200 ] && [ $((y1 - y0)) -lt 120 ] ||
    fail "pressing S1 changed more than its indicators: $count pixels in ($x0,$y0)-($x1,$y1)"
echo "S1 pressed from orvex-sim: $count pixels changed in ($x0,$y0)-($x1,$y1)"

"$sim" stand joystick 4.5 0.5
read -r count x0 y0 x1 y1 < <(wait_for_change pressed moved)
[ "$count" -gt 0 ] || fail "holding the joystick from another process changed nothing"
echo "joystick held from orvex-sim: $count pixels changed in ($x0,$y0)-($x1,$y1)"

"$sim" status | grep -q "of process $program_pid" ||
    fail "orvex-sim status does not show the window's tasks: $("$sim" status)"

# A second window on the same board: the ports are the first one's.
ORVEX_DRIVER="$driver" QT_QPA_PLATFORM=xcb "$program" 2>"$work_dir/second.err" &
second_pid=$!
for _ in $(seq 100); do
    grep -q -- "-50103" "$work_dir/second.err" && break
    sleep 0.1
done
kill "$second_pid" 2>/dev/null || true
wait "$second_pid" 2>/dev/null || true
grep -q -- "Error = -50103" "$work_dir/second.err" &&
    grep -q "lines of port 0, held by .* of process $program_pid" "$work_dir/second.err" ||
    fail "the second window was not refused its ports: $(cat "$work_dir/second.err")"
echo "second window refused: $(grep -m1 "lines of port 0" "$work_dir/second.err")"

close_window "$window"
expect_clean_exit
echo "xvfb-shared-board: the window follows the shared board; the second window is refused"
