#include "stop_request.h"

#include <windows.h>

namespace orvex_cli {
namespace {

// Runs on a thread of its own that the system starts for each console event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        requestStop();
        return TRUE;
    case CTRL_CLOSE_EVENT:
        // The system ends the process when this returns, or some seconds later at the
        // latest; waiting here gives the main thread that time to finish the file and
        // release the tasks, and the process ends as soon as main returns.
        requestStop();
        Sleep(INFINITE);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void installStopHandlers() {
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void installRotationHandler() {}

} // namespace orvex_cli
