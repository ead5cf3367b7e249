# Shared by xvfb-smoke.sh, xvfb-shared-board.sh and screenshot.sh (sourced, not run):
# starts the built program on the simulated board in a display of its own under Xvfb
# (xvfb-server.sh).  The caller sets build_dir first, and may set program_arguments.

source "$(dirname "${BASH_SOURCE[0]}")/xvfb-server.sh"
start_program
