#include "startup.h"

#include "orvex.h"
#include "panel_file.h"
#include "panel_frame.h"
#include "port_controls.h"
#include "userint.h"

namespace {

constexpr int BOARD_SLOT = 2;
constexpr int CONTROL_PORT = 2;
// Port 2 lines 0 to 2 are outputs; only line 0 is high.
constexpr unsigned char CONTROL_PORT_OUTPUTS = 0x07;
constexpr unsigned char CONTROL_PORT_START_VALUE = 0x01;

void reportNoWindow(const char *cause, int status) {
    ErrorPrintf("Zelbrin: the window cannot open: %s (status %d, panel file \"%s\")\n", cause,
                status, panelFile());
}

} // namespace

void prepareBoard() {
    libErrChk(orvex_ni6251Slot(BOARD_SLOT));
    libErrChk(orvex_portMask(CONTROL_PORT, CONTROL_PORT_OUTPUTS));
    libErrChk(orvex_portOut(CONTROL_PORT, CONTROL_PORT_START_VALUE));
    // Ports 0 and 1 start as inputs, matching the direction selector's first value.
    libErrChk(orvex_portMask(0, 0x00));
    libErrChk(orvex_portMask(1, 0x00));
}

bool openWindow(char *argv[]) {
    if (InitCVIRTEEx(nullptr, argv, nullptr) == 0) {
        reportNoWindow("the user-interface runtime did not start", 0);
        return false;
    }
    panelHandle = LoadPanel(0, panelFile(), PANEL);
    if (panelHandle < 0) {
        reportNoWindow("the panel file could not be loaded", panelHandle);
        return false;
    }
    createGUI();
    const int shown = DisplayPanel(panelHandle);
    if (shown < 0) {
        reportNoWindow("the panel could not be shown", shown);
        return false;
    }
    return true;
}

void closeDown() {
    // Nothing is discarded when no panel was loaded (handle 0 or the failed load's result).
    DiscardPanel(panelHandle);
    libErrChk(orvex_ni6251Close());
}

int zelbrinMain(int, char *argv[]) {
    prepareBoard();
    const bool windowOpen = openWindow(argv);
    if (windowOpen) {
        RunUserInterface();
    }
    closeDown();
    return windowOpen ? 0 : 1;
}

int panelCB(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) {
        QuitUserInterface(0);
    }
    return 0;
}
