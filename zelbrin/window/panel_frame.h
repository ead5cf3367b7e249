// What every part of the application shares about the main panel: its handle, the IDs
// that Zelbrin.uir gives its controls, the controls created at start-up, and the check
// that follows every orvex call.
#ifndef ZELBRIN_WINDOW_PANEL_FRAME_H
#define ZELBRIN_WINDOW_PANEL_FRAME_H

#include "logic/port_lines.h"

namespace zelbrin {

// Resource ID of the main panel and the control IDs fixed by Zelbrin.uir.
enum {
    PANEL = 1,
    PANEL_MODE = 2,
    PANEL_AI_TIMER = 3,
    PANEL_GUI_TIMER = 4,
    PANEL_ALL0 = 5,
    PANEL_ALL1 = 6,
    PANEL_GUI_INTERVAL = 7,
    PANEL_AI_INTERVAL = 8,
    PANEL_CALIBRATE = 9,
    PANEL_AI3 = 10,
    PANEL_AI2 = 11,
    PANEL_SWAP = 12,
    PANEL_GRAPH = 13,
    PANEL_RANGE_1 = 14,
    PANEL_RANGE_5 = 15,
    PANEL_RANGE_10 = 16,
    PANEL_SHOW_RAW = 17,
    PANEL_SHOW_NORM = 18,
    PANEL_Y_MAX = 19,
    PANEL_Y_MID = 20,
    PANEL_Y_MIN = 21,
    PANEL_X_MAX = 22,
    PANEL_X_MID = 23,
    PANEL_X_MIN = 24,
    PANEL_PLOT_MODE = 25,
    PANEL_BOARD = 26,
    PANEL_MESSAGE = 27,
    PANEL_RECORD = 28,
    PANEL_EXPORT_GRAPH = 29,
    PANEL_SAVE_SETUP = 30,
    PANEL_LOAD_SETUP = 31,
};

// The PXI slot of the board the program works with.
inline constexpr int boardSlot = 2;

// Room for a file path the user chooses.
inline constexpr int filePathSize = 4096;

extern int panelHandle;
extern int ledCtrl[panelLines];
extern int btnCtrl[panelLines];
// Switch indicators S1 to S4, indexed by their number (entry 0 is unused).
extern int swCtrl[switchIndicators + 1];

// Reports a failed orvex call ("Error = code, text") and returns: the caller goes on.
// Every status also goes to the board indicator.
void libErrChk(int status);

} // namespace zelbrin

#endif
