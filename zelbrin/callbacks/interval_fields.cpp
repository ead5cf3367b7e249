#include "interval_fields.h"

#include "uiruntime/userint.h"
#include "window/message_line.h"

#include <cstdio>

namespace zelbrin {

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

} // namespace zelbrin
