#!/usr/bin/env bash
# The terminal tool in real time on the simulated board (the driver runs inside the tool's
# process, so its work counts too), two runs of 60 s of board time each:
# - single: ai0 at the board's top rate for one channel, 1.25 MS/s, to FORMAT: exactly
#   75,000,000 samples, and the tool's CPU time below half of one core;
# - scan: ai0 to ai15 at 62.5 kS/s each, 1 MS/s in all, to f32: exactly 3,750,000 samples
#   per channel, and the tool's CPU time below 10 % of one core.
# Each also needs status 0 and no error line (no samples overwritten).
#   scripts/ci/cli-realtime-check.sh [BUILD_DIR] [FORMAT] [single|scan|both]
#   (FORMAT of the single run: f64 (default), f32, csv, tsv; both runs by default)
set -euo pipefail
build=${1:-build}
format=${2:-f64}
mode=${3:-both}
seconds=${SECONDS_OF_BOARD_TIME:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export ORVEX_DRIVER=$build/platform/simboard/liborvex_simboard.so
TIMEFORMAT='%R %U %S'
status=0

# check NAME CHANNELS WIDTH RATE FORMAT CPU_BOUND: one run of WIDTH channels, its figures
# and its verdict.
check() {
    local name=$1 channels=$2 width=$3 rate=$4 format=$5 bound=$6
    local expected=$((rate * seconds))
    # Counting what reaches the pipe keeps gigabytes off the disk.
    { time "$build/tools/orvex-cli/orvex" --quiet ai acquire "$channels" --rate "$rate" \
        --duration "$seconds" --format "$format" -o - 2>"$work/err" ||
        echo "the tool ended with status $?" >>"$work/err"; } 2>"$work/time" |
        case $format in
            csv | tsv) grep -vc -e '^#' -e '^sample' ;;
            f64) wc -c | awk -v w="$width" '{ print $1 / 8 / w }' ;;
            f32) wc -c | awk -v w="$width" '{ print $1 / 4 / w }' ;;
        esac >"$work/count"

    local wall user system samples cpu
    read -r wall user system <"$work/time"
    samples=$(cat "$work/count")
    cpu=$(awk -v u="$user" -v s="$system" -v w="$wall" 'BEGIN { printf "%.1f", 100 * (u + s) / w }')
    echo "$name ($channels at $rate S/s to $format): $samples samples per channel in $wall s wall," \
        "CPU ${user} s user + ${system} s system = ${cpu}% of one core"
    cat "$work/err"
    local failed=0
    [ -s "$work/err" ] && { echo "FAIL: the tool reported an error"; failed=1; }
    [ "$samples" = "$expected" ] || { echo "FAIL: $samples samples per channel, not $expected"; failed=1; }
    awk -v c="$cpu" -v b="$bound" 'BEGIN { exit !(c < b) }' ||
        { echo "FAIL: CPU ${cpu}% is not below ${bound}%"; failed=1; }
    [ $failed -eq 0 ] && echo "PASS: $name"
    [ $failed -eq 0 ] || status=1
}

case $mode in
    single | both) check single 0 1 1250000 "$format" 50 ;;&
    scan | both) check scan ai0:15 16 62500 f32 10 ;;
    single) ;;
    *) echo "mode $mode is not single, scan or both" >&2; exit 2 ;;
esac
exit $status
