#include "panel_frame.h"

#include "orvex.h"
#include "runtime_text.h"

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
