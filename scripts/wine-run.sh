#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in the given Wine prefix:
#   scripts/wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The prefix is made on first use (one process makes it while others wait).  Output
# reaches the caller with Unix line ends, as CTest and GoogleTest's discovery expect.
set -uo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        [ -f "$prefix/system.reg" ] || wineboot --init >/dev/null 2>&1
    ) 9>"$prefix.lock"
fi
# Through files, not pipes: the helper processes Wine starts with a program inherit its
# output handles and outlive it, and a pipe would stay open until they end.
output=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$output" "$errors"' EXIT
wine "$@" >"$output" 2>"$errors" </dev/null
status=$?
tr -d '\r' <"$output"
tr -d '\r' <"$errors" >&2
exit $status
