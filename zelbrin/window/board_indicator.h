// Whether the board answers, at a glance: every orvex status passes through here, and the
// window's board indicator shows "answering" after a call the driver carried out, or
// "not answering" with the failed call's code and the first line of its text.
#ifndef ZELBRIN_WINDOW_BOARD_INDICATOR_H
#define ZELBRIN_WINDOW_BOARD_INDICATOR_H

namespace zelbrin {

void noteBoardStatus(int status);
// Brings the indicator of panelHandle up to date (the window opens after the first calls).
void showBoardState();

} // namespace zelbrin

#endif
