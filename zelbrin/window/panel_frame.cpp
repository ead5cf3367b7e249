#include "panel_frame.h"

#include "board_indicator.h"
#include "uiruntime/userint.h"
#include <orvex.h>

namespace zelbrin {

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

} // namespace zelbrin
