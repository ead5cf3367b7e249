#include "panel_frame.h"

#include "board_indicator.h"
#include "message_line.h"
#include "uiruntime/userint.h"
#include <orvex.h>

#include <cstdio>

int panelHandle = 0;
int ledCtrl[panelLines] = {};
int btnCtrl[panelLines] = {};
int swCtrl[switchIndicators + 1] = {};

void libErrChk(int status) {
    noteBoardStatus(status);
    if (status >= 0) {
        return;
    }
    ErrorPrintf("Error = %i, %s\n", orvex_GetLastError(), orvex_GetLastErrorBuffer());
    Breakpoint();
}

void intervalFieldEvent(int panel, int field, int event, int timer, const char *what) {
    if (event != EVENT_COMMIT && event != EVENT_ENTRY_REFUSED) {
        return;
    }
    double seconds = 0.0;
    GetCtrlVal(panel, field, &seconds);
    if (event == EVENT_COMMIT) {
        SetCtrlAttribute(panel, timer, ATTR_INTERVAL, seconds);
    } else {
        char text[160];
        std::snprintf(text, sizeof text,
                      "%s: that interval is out of range (0.01 to 10 s); still %.2f s.", what,
                      seconds);
        showMessage(panel, text, MessageKind::Note);
    }
}
