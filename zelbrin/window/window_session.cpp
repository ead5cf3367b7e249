#include "window_session.h"

#include "axis_titles.h"
#include "board_indicator.h"
#include "files/recording.h"
#include "panel_frame.h"
#include "setup/setup_files.h"
#include "uiruntime/userint.h"

namespace zelbrin {

void beginWindowSession(int panel) {
    for (int control : {PANEL_SWAP, PANEL_SHOW_RAW, PANEL_SHOW_NORM}) {
        SetCtrlAttribute(panel, control, ATTR_CALLBACK_FUNCTION_POINTER, axisTitlesCB);
    }
    restoreRememberedSettings(panel);
    showAxisTitles(panel);
    showBoardState();
}

void endWindowSession(int panel) {
    stopRecording();
    rememberSettings(panel);
}

} // namespace zelbrin
