#!/usr/bin/env bash
# The built program on the simulated board under Xvfb, ended by SIGTERM, SIGINT and SIGHUP
# in turn once its window is up: each ends it as its close control would, with status 0,
# every task it created cleared on the board (its journal) and its settings written.
#   scripts/xvfb-close-signals.sh [build-dir]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
source scripts/xvfb-server.sh

# The task handles the journal shows created, or with "Clear", cleared: sorted, on one line.
journal_tasks() {
    sed -n "s/^DAQmx$1Task(.*task[A-Za-z]*=\([0-9]*\)) = 0$/\1/p" "$2" | sort -n | paste -sd' '
}

for signal in TERM INT HUP; do
    export ORVEX_SIM_JOURNAL="$work_dir/$signal.journal"
    export XDG_CONFIG_HOME="$work_dir/config-$signal"
    settings="$XDG_CONFIG_HOME/Zelbrin/zelbrin.ini"
    start_program
    wait_for_window >/dev/null
    kill -s "$signal" "$program_pid"
    expect_clean_exit
    created=$(journal_tasks Create "$ORVEX_SIM_JOURNAL")
    [ -n "$created" ] || fail "SIG$signal: the journal shows no task created"
    [ "$created" = "$(journal_tasks Clear "$ORVEX_SIM_JOURNAL")" ] ||
        fail "SIG$signal: the tasks created ($created) were not all cleared:" \
            "$(grep ClearTask "$ORVEX_SIM_JOURNAL" | tr '\n' ' ')"
    grep -q '^geometry=' "$settings" 2>/dev/null ||
        fail "SIG$signal: no window settings were written to $settings"
    echo "SIG$signal: status 0, tasks $created created and cleared, settings written"
done
