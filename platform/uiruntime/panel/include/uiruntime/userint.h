// User-interface runtime operations that the Zelbrin application calls, over Qt 6 Widgets.
//
// Panels and controls are int handles; a negative int is a failure.  All of it runs on
// the one user-interface thread that called InitCVIRTEEx.  The text operations (Fmt,
// CompareStrings) and the error print and debugger stop (ErrorPrintf, Breakpoint) live in
// uiruntime/runtime_text.h and uiruntime/diagnostics.h, shared with the orvex library.
#ifndef PLATFORM_UIRUNTIME_PANEL_INCLUDE_UIRUNTIME_USERINT_H
#define PLATFORM_UIRUNTIME_PANEL_INCLUDE_UIRUNTIME_USERINT_H

#include "uiruntime/diagnostics.h"
#include "uiruntime/runtime_text.h"

// Events delivered to callbacks.
enum {
    EVENT_COMMIT = 1,
    EVENT_CLOSE = 11,
    EVENT_TIMER_TICK = 15,
    // A typed number the field could not take (out of its range): the field kept its value.
    EVENT_ENTRY_REFUSED = 1001,
};

// Control attributes.
enum {
    ATTR_CALLBACK_FUNCTION_POINTER = 513,
    ATTR_INTERVAL = 1270, // timer interval in seconds (double)
    // This runtime's own attributes.
    ATTR_XNAME = 2001,         // graph x axis title (text)
    ATTR_YNAME = 2002,         // graph y axis title (text)
    ATTR_TEXT_COLOR = 2003,    // text colour of a text message, 0xRRGGBB (int)
    ATTR_VALUE_UNKNOWN = 2004, // nonzero: an indicator or display shows "unknown" (int)
};

// Control styles that NewCtrl creates.
enum {
    CTRL_SQUARE_COMMAND_BUTTON = 200, // push button with its label as text
    CTRL_LED_WITH_LABEL = 228,        // on/off indicator with a label
    CTRL_LED_NO_LABEL = 265,          // on/off indicator without a label
};

// Graph axes, scaling and plotting.
enum {
    VAL_XAXIS = 0,
    VAL_LEFT_YAXIS = 1,
    VAL_MANUAL = 0,
    VAL_ALL_PLOTS = -1,
    VAL_IMMEDIATE_DRAW = 1,
    VAL_SOLID_SQUARE = 2,
};

// Failures: every operation that can fail returns one of these (always negative).
enum {
    UI_ERROR_NOT_INITIALISED = -1, // InitCVIRTEEx has not succeeded yet
    UI_ERROR_BAD_PANEL = -2,       // no such panel handle
    UI_ERROR_BAD_CONTROL = -3,     // no such control on the panel
    UI_ERROR_WRONG_KIND = -4,      // the control has no such value, attribute or operation
    UI_ERROR_BAD_VALUE = -5,       // value out of range, not finite, or not representable
    UI_ERROR_PANEL_FILE = -6,      // the panel file is missing, unreadable or refused
    UI_ERROR_NOT_RUNNING = -7,     // QuitUserInterface without a running RunUserInterface
    UI_ERROR_FILE = -8,            // a file could not be written
};

enum {
    VAL_RED = 0xFF0000,
    VAL_GREEN = 0x00FF00,
};

extern "C" {
typedef int (*CtrlCallbackPtr)(int panel, int control, int event, void *callbackData,
                               int eventData1, int eventData2);
typedef int (*PanelCallbackPtr)(int panel, int event, void *callbackData, int eventData1,
                                int eventData2);
}

// Nonzero on success.  Creates the application object from the null-terminated argv.
// It prints nothing when it fails; RuntimeStartFailure says why.  Only a window system
// that fails inside Qt ends the program, with one line and status 1.
int InitCVIRTEEx(void *moduleHandle, char *argv[], void *reserved);
// Why the last InitCVIRTEEx failed ("no display: DISPLAY is not set", ...), or "".
const char *RuntimeStartFailure(void);

// Loads the panel with resourceId from a Qt Designer .ui file.  A bare file name is
// looked up beside the executable.  Returns the panel handle, negative on failure
// (after printing one line that names the file, the fault and where it is).
int LoadPanel(int parentPanel, const char *fileName, int resourceId);
int DisplayPanel(int panel);
// Destroys the panel and its controls; 0 or a negative handle does nothing.
int DiscardPanel(int panel);

// Runs the event loop until QuitUserInterface; returns the code given there.  While it
// runs, SIGTERM, SIGINT and SIGHUP (on POSIX systems) close the program's windows as their
// close control would: each shown panel's callback gets EVENT_CLOSE.
int RunUserInterface(void);
int QuitUserInterface(int code);

// Creates a control of one of the CTRL_ styles; label may be null.  Returns its ID.
int NewCtrl(int panel, int style, const char *label, int top, int left);

int SetCtrlAttribute(int panel, int control, int attribute, int value);
int SetCtrlAttribute(int panel, int control, int attribute, double value);
int SetCtrlAttribute(int panel, int control, int attribute, CtrlCallbackPtr callback);
int SetCtrlAttribute(int panel, int control, int attribute, const char *text);

// Values are converted to the control's own type (int or double); text messages take
// text.  Setting a value ends an "unknown" state.
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, double value);
int SetCtrlVal(int panel, int control, const char *text);
int GetCtrlVal(int panel, int control, int *value);
int GetCtrlVal(int panel, int control, double *value);

int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max);
int GetAxisScalingMode(int panel, int control, int axis, int *mode, double *min, double *max);
int DeleteGraphPlot(int panel, int control, int plotHandle, int refresh);
int PlotPoint(int panel, int control, double x, double y, int pointStyle, int color);
int PlotLine(int panel, int control, double x1, double y1, double x2, double y2, int color);

// Saves the control as it appears on screen to a PNG file; 0 or UI_ERROR_FILE.
int SaveCtrlDisplayToPNG(int panel, int control, const char *path);

// The window's place and size in screen pixels (left, top, width, height).
int GetPanelGeometry(int panel, int *left, int *top, int *width, int *height);
int SetPanelGeometry(int panel, int left, int top, int width, int height);

// Asks the user for a file to open or (forSaving nonzero) to save to, filter as in
// "CSV files (*.csv)".  1 with the chosen path in path, 0 when the user cancelled (or
// the path does not fit pathSize).
int FileSelectPopup(const char *title, const char *filter, int forSaving, char *path, int pathSize);

#endif
