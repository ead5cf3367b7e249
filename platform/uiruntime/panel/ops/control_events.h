// Turns what the user does to a panel into the program's events.
#ifndef PLATFORM_UIRUNTIME_PANEL_OPS_CONTROL_EVENTS_H
#define PLATFORM_UIRUNTIME_PANEL_OPS_CONTROL_EVENTS_H

#include "control_kind.h"

class QWidget;

namespace panel {

// Commit for user actions only (a press, a chosen item, a committed number, a flipped
// switch), timer tick for timers; values the program sets raise nothing.
void connectControlEvents(int panel, int control, QWidget *widget, ControlKind kind);

// The window's close control raises the close event to the panel callback; the window
// itself stays open, for the program decides whether to quit.
void connectPanelClose(int panel, QWidget *window);

} // namespace panel

#endif
