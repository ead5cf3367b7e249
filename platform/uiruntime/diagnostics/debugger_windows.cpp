#include "debugger.h"

#include <windows.h>

namespace diagnostics {

bool debuggerAttached() {
    return IsDebuggerPresent() != FALSE;
}

void stopInDebugger() {
    DebugBreak();
}

} // namespace diagnostics
