#!/usr/bin/env bash
# One start of the built program on the simulated board on the display DISPLAY names, for
# xvfb-starts.sh: waits for its window, closes it as a user would and checks it ends with
# 0.  The display's server runs without -noreset and with -audit 2, its messages in
# SERVER-LOG; the start fails too when that server was left without clients while the
# program started, as it then resets and refuses connections, even if the program's
# window came up that time.  Prints the display, and the window once it is up.
#   scripts/xvfb-start-once.sh SERVER-LOG [build-dir]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
server_log=$1
build_dir=${2:-build}
source scripts/xvfb-program.sh

echo "$DISPLAY"
start_program

# How many connections the server has taken from the program.
program_connections() {
    grep -c "connected from .*pid=$program_pid )" "$server_log" || true
}

# The program's first connection is its display check and its second Qt's own.  Until the
# second, this script makes none of its own, so that it can neither cause a reset nor
# hide one.
for _ in $(seq 150); do
    [ "$(program_connections)" -ge 2 ] && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && [ "$(program_connections)" -lt 2 ] &&
    fail "the program did not connect to $DISPLAY twice within 15 s"

emptied=false
if ! awk -v program="pid=$program_pid )" '
    / connected from / { clients++; if (index($0, program) && ++seen == 2) exit }
    / disconnected$/ { if (--clients == 0 && seen == 1) emptied = 1 }
    END { exit emptied }' "$server_log"; then
    echo "$(basename "$0"): the program left the server on $DISPLAY without clients while it started" >&2
    emptied=true
fi

window=$(wait_for_window)
echo "window $window"
close_window "$window"
expect_clean_exit
! $emptied
