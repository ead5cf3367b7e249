#include "uiruntime/diagnostics.h"

#include "debugger.h"

extern "C" void Breakpoint(void) {
    if (diagnostics::debuggerAttached()) {
        diagnostics::stopInDebugger();
    }
}
