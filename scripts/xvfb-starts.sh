#!/usr/bin/env bash
# Starts the built program on the simulated board COUNT times under `xvfb-run -a` and
# COUNT times under a bare Xvfb, each a fresh server that resets when its last client
# leaves (no -noreset), as an X session started by xinit does.  Each time it waits for
# the window, closes it and checks that the program ends with 0 (xvfb-start-once.sh);
# it counts how many came up, and how many left the server without clients while they
# started (which makes it reset), and fails unless every start came up and none did.
#   scripts/xvfb-starts.sh [count] [build-dir]     (defaults: 50, build)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-50}
build_dir=${2:-build}
server_arguments=(-screen 0 1280x800x24 -audit 2)
work_dir=$(mktemp -d)
xvfb_pid=

stop_all() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work_dir"
}
trap stop_all EXIT

# A server that has gone removes its lock and socket last; the next start must not meet
# them, or its server could lose its fresh socket to the old one's clean-up.
wait_until_gone() {
    local number=${1#:}
    for _ in $(seq 100); do
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] || return 0
        sleep 0.1
    done
}

# With an authority file of its own xvfb-run makes no folder for one: removing that folder
# fails when the server's signal that it has reset (the program has gone) interrupts it,
# and xvfb-run then leaves its server running.  Even so its clean-up has once been seen
# to fail on that signal ("problem while cleaning up temporary directory") after the start
# had passed, so the start's own exit status, kept in a file, is what counts.
start_under_xvfb_run() {
    : >"$work_dir/xauthority"
    rm -f "$work_dir/status"
    xvfb-run -a -f "$work_dir/xauthority" -e "$work_dir/server.log" -s "${server_arguments[*]}" \
        bash -c 'status_file=$1; shift; status=0; scripts/xvfb-start-once.sh "$@" || status=$?
                 echo "$status" >"$status_file"' _ \
        "$work_dir/status" "$work_dir/server.log" "$build_dir" \
        >"$work_dir/start.out" 2>"$work_dir/start.err" || true
    wait_until_gone "$(head -n1 "$work_dir/start.out")"
    [ "$(cat "$work_dir/status" 2>/dev/null)" = 0 ]
}

start_under_bare_xvfb() {
    local status=0
    Xvfb -displayfd 9 "${server_arguments[@]}" -nolisten tcp 9>"$work_dir/display" \
        2>"$work_dir/server.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work_dir/display" ] && break
        sleep 0.1
    done
    DISPLAY=":$(head -n1 "$work_dir/display")" scripts/xvfb-start-once.sh \
        "$work_dir/server.log" "$build_dir" >"$work_dir/start.out" 2>"$work_dir/start.err" ||
        status=$?
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
    return "$status"
}

all_passed=true
for way in xvfb_run bare_xvfb; do
    case $way in
    xvfb_run) name="xvfb-run -a" ;;
    bare_xvfb) name="bare Xvfb" ;;
    esac
    came_up=0
    emptied=0
    for start in $(seq "$count"); do
        rm -f "$work_dir/server.log" "$work_dir/display"
        if "start_under_$way"; then
            came_up=$((came_up + 1))
            continue
        fi
        all_passed=false
        grep -q '^window ' "$work_dir/start.out" && came_up=$((came_up + 1))
        grep -q 'without clients' "$work_dir/start.err" && emptied=$((emptied + 1))
        echo "  start $start under $name: $(tr '\n' ' ' <"$work_dir/start.err")"
    done
    echo "$name: $came_up of $count starts came up; $emptied left the server without clients"
done
$all_passed
