# Shared by the Xvfb scripts (sourced, not run): starts a display of their own under Xvfb
# and sets DISPLAY, with xvfb-program.sh's means to start the built program there and find
# its window.  The caller sets build_dir first, and may set program_arguments.

source "$(dirname "${BASH_SOURCE[0]}")/xvfb-program.sh"

# Xvfb picks a free display itself and writes its number to the file.  -noreset: by
# default the server resets whenever its last client leaves, and refuses connections while
# it does; the answer check below is such a client, and the program's first connection
# could meet that reset.
Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp -noreset 9>"$work_dir/display" \
    2>"$work_dir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work_dir/display" ] && break
    sleep 0.1
done
[ -s "$work_dir/display" ] || fail "Xvfb did not start: $(cat "$work_dir/xvfb.log")"
export DISPLAY=":$(head -n1 "$work_dir/display")"
# The program starts only once the server answers, so that a slow server is not taken
# for a missing display.
for _ in $(seq 100); do
    xwininfo -root >/dev/null 2>&1 && break
    sleep 0.1
done
xwininfo -root >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer: $(cat "$work_dir/xvfb.log")"
