// What every part of the application shares about the main panel: its handle, the IDs
// that Zelbrin.uir gives its controls, the controls created at start-up, and the check
// that follows every orvex call.
#ifndef ZELBRIN_PANEL_FRAME_H
#define ZELBRIN_PANEL_FRAME_H

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
};

// Ports 0 and 1 seen as one row of sixteen lines: line i is port i / 8, bit i % 8.
inline constexpr int PANEL_LINES = 16;
// Switch indicators S1 to S4, indexed by their number (entry 0 is unused).
inline constexpr int SWITCH_INDICATORS = 4;

extern int panelHandle;
extern int ledCtrl[PANEL_LINES];
extern int btnCtrl[PANEL_LINES];
extern int swCtrl[SWITCH_INDICATORS + 1];

// Gives a timer the interval (seconds) shown in a numeric field: what both interval
// fields do on commit.  The value goes unchanged; the runtime refuses one that is not
// positive and keeps the old interval.
void setTimerIntervalFromField(int panel, int field, int timer);

// Reports a failed orvex call ("Error = code, text") and returns: the caller goes on.
void libErrChk(int status);

#endif
