// Ctrl-C (and SIGTERM, or Ctrl-Break and closing the console on Windows) ask a running
// acquisition or generation to end at its next block, so that files stay whole and every
// task is released by the normal path.
#ifndef TOOLS_ORVEX_CLI_OS_STOP_REQUEST_H
#define TOOLS_ORVEX_CLI_OS_STOP_REQUEST_H

namespace orvex_cli {

// One form per platform: signal handlers, or a console control handler.
void installStopHandlers();

// Safe to call from a signal handler or from another thread.
void requestStop();
bool stopRequested();
// Sleeps for the given wall time, or less when a stop is requested meanwhile.
void sleepUnlessStopped(double seconds);

// SIGHUP asks a long recording for a new file now; only the recorder takes it, so that a
// hangup still ends every other command.  Windows has no such signal: nothing is installed.
void installRotationHandler();
// Safe from a signal handler; taking the request clears it.
void requestRotation();
bool takeRotationRequest();

} // namespace orvex_cli

#endif
