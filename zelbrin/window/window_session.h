// What the window holds beyond the program's own controls, for as long as it is open:
// axis titles that follow the switches, the board indicator, the user's remembered
// settings, and a recording that must be ended when the window closes.
#ifndef ZELBRIN_WINDOW_WINDOW_SESSION_H
#define ZELBRIN_WINDOW_WINDOW_SESSION_H

namespace zelbrin {

// After the controls are created and before the window shows.
void beginWindowSession(int panel);
// Before the window is discarded.
void endWindowSession(int panel);

} // namespace zelbrin

#endif
