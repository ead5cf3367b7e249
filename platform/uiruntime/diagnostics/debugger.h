// Whether a debugger watches the process, and stopping in it; one form per platform.
#ifndef PLATFORM_UIRUNTIME_DIAGNOSTICS_DEBUGGER_H
#define PLATFORM_UIRUNTIME_DIAGNOSTICS_DEBUGGER_H

namespace diagnostics {

bool debuggerAttached();
// Only when debuggerAttached(): without a debugger the process would end here.
void stopInDebugger();

} // namespace diagnostics

#endif
