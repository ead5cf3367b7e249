#!/usr/bin/env bash
# The scope live in real time: ai0 to ai15 at 62.5 kS/s each (1 MS/s in all) on the shared
# simulated board (its state in a folder of this run), under Xvfb, triggered in auto mode on
# a 1 kHz sine from ao0, for SECONDS (default 25) of the scope's own measurement
# (orvex-scope --measure).  The board runs inside the scope's process, so its work counts
# too.  Prints the frames per second, the processor time as a share of one core and the
# samples per channel in the history and at the board; passes with at least 30 frames a
# second, under 30 % of one core and the two counts equal, with no message of a failed scan.
#   scripts/scope-live-check.sh [SECONDS] [build-dir]     (defaults: 25, build)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}
build_dir=${2:-build}
program="$build_dir/tools/orvex-scope/orvex-scope"
window_title="orvex-scope"
unset ORVEX_SIM_BENCH ORVEX_SIM_STATE
source scripts/xvfb-server.sh

setup="$work_dir/live.ini"
{
    printf '[scope]\nversion=1\nrate=62500\nsecondsPerDivision=0.001\nmode=1\n'
    printf 'historyBound=100000000\n\n'
    printf '[trigger]\ninput=0\nlevel=0\nrising=true\npreTrigger=0.5\n\n'
    for input in $(seq 0 15); do
        printf '[ai%d]\nenabled=true\nvisible=true\nrange=10\nterminal=0\n' "$input"
        printf 'voltsPerDivision=1\noffset=0\n\n'
    done
    printf '[generator]\nonScanClock=true\n\n'
    printf '[ao0]\nenabled=true\nwaveform=0\nfrequency=1000\namplitude=2\noffset=0\n\n'
    printf '[ao1]\nenabled=true\nwaveform=1\nfrequency=500\namplitude=1\noffset=0\n'
} >"$setup"

program_arguments=(--measure "$seconds" "$setup")
start_program >"$work_dir/report"
for _ in $(seq $(((${seconds%.*} + 30) * 10))); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
expect_clean_exit

report() {
    sed -n "s/^$1: //p" "$work_dir/report"
}
fps=$(report "frames per second")
share=$(report "share of one core")
share=${share% %}
history=$(report "history samples per channel")
board=$(report "board samples per channel")
message=$(report message)
echo "$(report channels) channels at $(report "rate per channel") S/s for $(report seconds) s:"
echo "  $(report frames) frames, $fps per second"
echo "  $(report "processor seconds") s of processor time, $share % of one core"
echo "  $history samples per channel in the history, $board read by the board"
[ -z "$message" ] || echo "  message: $message"

failed=0
awk -v f="$fps" 'BEGIN { exit !(f >= 30) }' || { echo "FAIL: $fps frames per second, not 30"; failed=1; }
awk -v s="$share" 'BEGIN { exit !(s < 30) }' || { echo "FAIL: $share % of one core, not under 30 %"; failed=1; }
[ -n "$history" ] && [ "$history" = "$board" ] && [ "$history" -gt 0 ] ||
    { echo "FAIL: the history holds $history samples per channel, the board read $board"; failed=1; }
[ -z "$message" ] || { echo "FAIL: the scope said: $message"; failed=1; }
[ $failed -eq 0 ] && echo "PASS: the scope keeps up live"
exit $failed
