# Shared by the Xvfb scripts (sourced, not run): starts the built program on the
# simulated board on the X display that DISPLAY names, finds its window, closes it and
# checks how the program ended.  The caller sets build_dir first, and may set
# program_arguments, and program and window_title for another program than zelbrin;
# xvfb-window.sh also starts a server of its own.

window_title=${window_title:-"Zelbrin - NI 6251 lab panel"}
program=${program:-"$build_dir/zelbrin/zelbrin"}
driver="$build_dir/platform/simboard/liborvex_simboard.so"
work_dir=$(mktemp -d)
xvfb_pid=
program_pid=
if [ -z "${program_arguments+set}" ]; then program_arguments=(); fi

stop_all() {
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
    # The server is waited for: one still shutting down removes its socket files as it
    # goes, and so can take them from the next test's server on the same display number.
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work_dir"
}
trap stop_all EXIT

fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

for file in "$program" "$driver"; do
    [ -e "$file" ] || fail "$file is missing; build $(basename "$program") and orvex_simboard first"
done

export XDG_RUNTIME_DIR="$work_dir" # private (0700), so Qt need not pick one
# The program remembers its settings per user: here in a folder of this run, never the
# real user's, and starting from the panel file's values every time.
export XDG_CONFIG_HOME="$work_dir/config"

# Starts the program in the background (program_pid) with SIGINT as a terminal or a
# desktop gives it, not ignored as bash gives it to a script's background commands.
start_program() {
    ORVEX_DRIVER="$driver" QT_QPA_PLATFORM=xcb env --default-signal=INT "$program" \
        "${program_arguments[@]}" &
    program_pid=$!
}

# Prints the ID of the program's window once it is mapped.  Qt's hidden helper windows
# may carry the same title, when it is the program's name.
wait_for_window() {
    local id
    for _ in $(seq 150); do
        for id in $(xwininfo -root -tree | awk -v title="\"$window_title\":" 'index($0, title) { print $1 }'); do
            if xwininfo -id "$id" | grep -q 'Map State: IsViewable'; then
                echo "$id"
                return 0
            fi
        done
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its window opened"
        sleep 0.1
    done
    fail "no window titled \"$window_title\" within 15 s"
}

# Resizes the window as a user dragging its corner would: resize_window ID WIDTH HEIGHT.
resize_window() {
    /usr/bin/python3 - "$@" <<'PY'
import sys
from Xlib import display
d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1], 0))
window.configure(width=int(sys.argv[2]), height=int(sys.argv[3]))
d.sync()
PY
}

# Asks the window to close as its close control would (WM_DELETE_WINDOW).
closed_window=
close_window() {
    closed_window=$1
    /usr/bin/python3 - "$1" <<'PY'
import sys
from Xlib import X, display, protocol
d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1], 0))
message = protocol.event.ClientMessage(
    window=window, client_type=d.intern_atom("WM_PROTOCOLS"),
    data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
window.send_event(message, event_mask=X.NoEventMask)
d.flush()
PY
}

# Waits up to 30 s for the program to end (it writes its settings as it closes, which a
# busy disk can hold up) and checks its exit status is 0.
expect_clean_exit() {
    local status
    for tick in $(seq 300); do
        kill -0 "$program_pid" 2>/dev/null || break
        # On a loaded machine the close requests of the first seconds after the window
        # appeared have been seen to go unanswered while the program idled: Qt's own log
        # of the X events it takes in showed none of them, and a request sent later closed
        # the window within seconds.  A user would click again, so this asks every 5 s.
        if [ $((tick % 50)) -eq 0 ] && [ -n "$closed_window" ] &&
            xwininfo -id "$closed_window" >/dev/null 2>&1; then
            echo "$(basename "$0"): no answer to the close request within $((tick / 10)) s; asking again" >&2
            close_window "$closed_window"
        fi
        sleep 0.1
    done
    kill -0 "$program_pid" 2>/dev/null && fail "the program did not end within 30 s of the close request"
    status=0
    wait "$program_pid" || status=$?
    program_pid=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
