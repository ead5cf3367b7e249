#!/usr/bin/env bash
# The terminal tool streaming ai0 at the board's top rate, 1.25 MS/s, for 60 s of board
# time on the simulated board in real time (the driver runs inside the tool's process, so
# its work counts too).  Checks: status 0 and no error line (no overwrite), exactly
# 75,000,000 samples, and the tool's CPU time below half of one core.
#   scripts/ci/cli-realtime-check.sh [BUILD_DIR] [FORMAT]   (FORMAT f64 (default), f32, csv, tsv)
set -euo pipefail
build=${1:-build}
format=${2:-f64}
seconds=${SECONDS_OF_BOARD_TIME:-60}
rate=1250000
expected=$((rate * seconds))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export ORVEX_DRIVER=$build/platform/simboard/liborvex_simboard.so
TIMEFORMAT='%R %U %S'
# Counting what reaches the pipe keeps a 600 MB file off the disk.
{ time "$build/tools/orvex-cli/orvex" --quiet ai acquire 0 --rate $rate --duration "$seconds" \
    --format "$format" -o - 2>"$work/err"; } 2>"$work/time" |
    case $format in
        csv | tsv) grep -vc -e '^#' -e '^sample' ;;
        f64) wc -c | awk '{ print $1 / 8 }' ;;
        f32) wc -c | awk '{ print $1 / 4 }' ;;
    esac >"$work/count"

read -r wall user system <"$work/time"
samples=$(cat "$work/count")
cpu=$(awk -v u="$user" -v s="$system" -v w="$wall" 'BEGIN { printf "%.1f", 100 * (u + s) / w }')
echo "format $format: $samples samples in $wall s wall, CPU ${user} s user + ${system} s system = ${cpu}% of one core"
cat "$work/err"
status=0
[ -s "$work/err" ] && { echo "FAIL: the tool reported an error"; status=1; }
[ "$samples" = "$expected" ] || { echo "FAIL: $samples samples, not $expected"; status=1; }
awk -v c="$cpu" 'BEGIN { exit !(c < 50) }' || { echo "FAIL: CPU ${cpu}% is not below 50%"; status=1; }
[ $status -eq 0 ] && echo "PASS"
exit $status
