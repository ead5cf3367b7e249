// The controls that are not in the panel file: the column of line buttons and indicators
// over ports 0 and 1, and the switch indicators S1 to S4 beside it.
#ifndef ZELBRIN_WINDOW_LINE_CONTROLS_H
#define ZELBRIN_WINDOW_LINE_CONTROLS_H

namespace zelbrin {

// Adds the 16 line indicators, 16 line buttons and S1 to S4 to panelHandle.
void createGUI();

} // namespace zelbrin

#endif
