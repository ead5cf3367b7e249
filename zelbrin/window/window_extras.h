// What the window holds beyond the program's own controls: axis titles that follow the
// switches, the board indicator, the user's remembered settings, and a recording that
// must be ended when the window closes.
#ifndef ZELBRIN_FRONT_PANEL_H
#define ZELBRIN_FRONT_PANEL_H

// After the controls are created and before the window shows.
void prepareFrontPanel(int panel);
// Before the window is discarded.
void closeFrontPanel(int panel);

#endif
