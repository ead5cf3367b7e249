#!/usr/bin/env bash
# The terminal tool in real time on the simulated board (the driver runs inside the tool's
# process, so its work counts too), runs of 60 s of board time each:
# - single: ai0 at the board's top rate for one channel, 1.25 MS/s, to FORMAT: exactly
#   75,000,000 samples, and the tool's CPU time below half of one core;
# - scan: ai0 to ai15 at 62.5 kS/s each, 1 MS/s in all, to f32: exactly 3,750,000 samples
#   per channel, and the tool's CPU time below 10 % of one core;
# - h5: the same scan through `orvex record` into an HDF5 file: exactly 3,750,000 samples
#   per channel in the file, and the recorder's CPU time below 10 % of one core.
# Each also needs status 0 and no error line (no samples overwritten).
#   scripts/ci/cli-realtime-check.sh [BUILD_DIR] [FORMAT] [single|scan|h5|both|all]
#   (FORMAT of the single run: f64 (default), f32, csv, tsv; both: single and scan;
#   all runs by default)
set -euo pipefail
build=${1:-build}
format=${2:-f64}
mode=${3:-all}
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
    # Counting what reaches the pipe keeps gigabytes off the disk.
    { time "$build/tools/orvex-cli/orvex" --quiet ai acquire "$channels" --rate "$rate" \
        --duration "$seconds" --format "$format" -o - 2>"$work/err" ||
        echo "the tool ended with status $?" >>"$work/err"; } 2>"$work/time" |
        case $format in
            csv | tsv) grep -vc -e '^#' -e '^sample' ;;
            f64) wc -c | awk -v w="$width" '{ print $1 / 8 / w }' ;;
            f32) wc -c | awk -v w="$width" '{ print $1 / 4 / w }' ;;
        esac >"$work/count"
    verdict "$name ($channels at $rate S/s to $format)" $((rate * seconds)) "$bound"
}

# check_record CHANNELS RATE CPU_BOUND: one run of `orvex record` into one HDF5 file, its
# figures and its verdict; the recorder's journal lines at error priority are its errors.
check_record() {
    local channels=$1 rate=$2 bound=$3
    mkdir -p "$work/out"
    printf 'channels = %s\nrate = %s\nduration = %s\ndirectory = %s\npattern = run.h5\n' \
        "$channels" "$rate" "$seconds" "$work/out" >"$work/record.conf"
    { time "$build/tools/orvex-cli/orvex" record "$work/record.conf" 2>"$work/log" ||
        echo "the tool ended with status $?" >>"$work/log"; } 2>"$work/time"
    grep -v -e '^<[4-7]>' "$work/log" >"$work/err" || true
    # h5ls: "samples  Dataset {ROWS/Inf, CHANNELS}"
    h5ls "$work/out/run.h5/samples" | sed -n 's/.*{\([0-9]*\)\/.*/\1/p' >"$work/count"
    verdict "h5 ($channels at $rate S/s to HDF5 by orvex record)" $((rate * seconds)) "$bound"
    rm -rf "$work/out"
}

# verdict TITLE EXPECTED CPU_BOUND: the figures of the last run and whether it passed.
verdict() {
    local name=$1 expected=$2 bound=$3
    local wall user system samples cpu
    read -r wall user system <"$work/time"
    samples=$(cat "$work/count")
    cpu=$(awk -v u="$user" -v s="$system" -v w="$wall" 'BEGIN { printf "%.1f", 100 * (u + s) / w }')
    echo "$name: $samples samples per channel in $wall s wall," \
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
    single | both | all) check single 0 1 1250000 "$format" 50 ;;&
    scan | both | all) check scan ai0:15 16 62500 f32 10 ;;&
    h5 | all) check_record ai0:15 62500 10 ;;
    single | scan | both) ;;
    *) echo "mode $mode is not single, scan, h5, both or all" >&2; exit 2 ;;
esac
exit $status
