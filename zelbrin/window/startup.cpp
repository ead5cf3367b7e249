#include "startup.h"

#include "files/panel_file_lookup.h"
#include "files/recording.h"
#include "line_controls.h"
#include "logic/command_line.h"
#include "panel_frame.h"
#include "setup/setup_files.h"
#include "uiruntime/userint.h"
#include "window_session.h"
#include <orvex.h>

#include <cstdio>
#include <string>

namespace zelbrin {

namespace {

constexpr int controlPort = 2;
// Port 2 lines 0 to 2 are outputs; only line 0 is high.
constexpr unsigned char controlPortOutputs = 0x07;
constexpr unsigned char controlPortStartValue = 0x01;

} // namespace

void prepareBoard() {
    libErrChk(orvex_ni6251Slot(boardSlot));
    libErrChk(orvex_portMask(controlPort, controlPortOutputs));
    libErrChk(orvex_portOut(controlPort, controlPortStartValue));
    // Ports 0 and 1 start as inputs, matching the direction selector's first value.
    libErrChk(orvex_portMask(0, 0x00));
    libErrChk(orvex_portMask(1, 0x00));
}

// Each failure is told in one line: the runtime's own cause, or LoadPanel's line naming
// the file, the fault and where it is.
bool openWindow(char *argv[]) {
    if (InitCVIRTEEx(nullptr, argv, nullptr) == 0) {
        ErrorPrintf("Zelbrin: the window cannot open: the user-interface runtime did not start: "
                    "%s\n",
                    RuntimeStartFailure());
        return false;
    }
    const std::string file = panelFile();
    panelHandle = LoadPanel(0, file.c_str(), PANEL);
    if (panelHandle < 0) {
        return false;
    }
    createGUI();
    beginWindowSession(panelHandle);
    const int shown = DisplayPanel(panelHandle);
    if (shown < 0) {
        ErrorPrintf("Zelbrin: the window cannot open: the panel of \"%s\" could not be shown "
                    "(status %d)\n",
                    file.c_str(), shown);
        return false;
    }
    return true;
}

void closeDown() {
    if (panelHandle > 0) {
        endWindowSession(panelHandle);
    }
    // Nothing is discarded when no panel was loaded (handle 0 or the failed load's result).
    DiscardPanel(panelHandle);
    libErrChk(orvex_ni6251Close());
}

int zelbrinMain(int argc, char *argv[]) {
    const CommandLine command = readCommandLine(argc, argv);
    if (command.answer) {
        std::fputs(command.answer->c_str(), stdout);
        return 0;
    }
    if (command.problem) {
        std::fputs(command.problem->c_str(), stderr);
        return 2;
    }
    prepareBoard();
    const bool windowOpen = openWindow(argv);
    if (windowOpen) {
        if (const char *setup = setupFileArgument(argc, argv)) {
            loadSetupFile(panelHandle, setup);
        }
        // After the setup, so that the recording carries its calibration and intervals.
        if (const char *file = recordFileArgument(argc, argv)) {
            recordFromStart(panelHandle, file);
        }
        RunUserInterface();
    }
    closeDown();
    return windowOpen ? 0 : 1;
}

} // namespace zelbrin

using namespace zelbrin;

int panelCB(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) {
        QuitUserInterface(0);
    }
    return 0;
}
