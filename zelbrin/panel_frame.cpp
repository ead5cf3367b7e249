#include "panel_frame.h"

#include "orvex.h"
#include "userint.h"

int panelHandle = 0;
int ledCtrl[PANEL_LINES] = {};
int btnCtrl[PANEL_LINES] = {};
int swCtrl[SWITCH_INDICATORS + 1] = {};

void libErrChk(int status) {
    if (status >= 0) {
        return;
    }
    ErrorPrintf("Error = %i, %s\n", orvex_GetLastError(), orvex_GetLastErrorBuffer());
    Breakpoint();
}

void setTimerIntervalFromField(int panel, int field, int timer) {
    double seconds = 0.0;
    GetCtrlVal(panel, field, &seconds);
    SetCtrlAttribute(panel, timer, ATTR_INTERVAL, seconds);
}
