// Ctrl-C and SIGTERM ask a running acquisition or generation to end at its next block,
// so that files stay whole and every task is released by the normal path.
#pragma once

namespace orvex_cli {

void installStopHandlers();
bool stopRequested();
// Sleeps for the given wall time, or less when a stop is requested meanwhile.
void sleepUnlessStopped(double seconds);

} // namespace orvex_cli
