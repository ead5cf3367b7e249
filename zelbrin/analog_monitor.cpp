#include "analog_monitor.h"

#include "axis_titles.h"
#include "orvex.h"
#include "panel_frame.h"
#include "recording.h"
#include "userint.h"

#include <cmath>
#include <limits>

Calibration calX = {0.0, 2.5, 5.0};
Calibration calY = {0.0, 2.5, 5.0};
TracePoint prevPoint = {0.0, 0.0, 0.0, 0.0};

namespace {

constexpr int X_CHANNEL = 2;
constexpr int Y_CHANNEL = 3;

enum PlotMode { PLOT_POINTS = 0, PLOT_TRACE = 1 };

// A channel whose read failed has no voltage this tick: not a number, which its display
// shows as unknown and which draws nothing.
double readChannel(int channel) {
    double volts = 0.0;
    const int status = orvex_analogIn(channel, &volts);
    libErrChk(status);
    return status >= 0 ? volts : std::numeric_limits<double>::quiet_NaN();
}

void showVolts(int panel, int display, double volts) {
    if (std::isnan(volts)) {
        SetCtrlAttribute(panel, display, ATTR_VALUE_UNKNOWN, 1);
    } else {
        SetCtrlVal(panel, display, volts);
    }
}

bool drawable(double x, double y) {
    return std::isfinite(x) && std::isfinite(y);
}

void plotPoint(int panel, double x, double y, int colour) {
    if (drawable(x, y)) {
        PlotPoint(panel, PANEL_GRAPH, x, y, VAL_SOLID_SQUARE, colour);
    }
}

void plotSegment(int panel, double x1, double y1, double x2, double y2, int colour) {
    if (drawable(x1, y1) && drawable(x2, y2)) {
        PlotLine(panel, PANEL_GRAPH, x1, y1, x2, y2, colour);
    }
}

int ctrlInt(int panel, int control) {
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

void plot(int panel, const TracePoint &now) {
    const bool raw = ctrlInt(panel, PANEL_SHOW_RAW) != 0;
    const bool calibrated = ctrlInt(panel, PANEL_SHOW_NORM) != 0;
    switch (ctrlInt(panel, PANEL_PLOT_MODE)) {
    case PLOT_POINTS:
        DeleteGraphPlot(panel, PANEL_GRAPH, VAL_ALL_PLOTS, VAL_IMMEDIATE_DRAW);
        if (raw) {
            plotPoint(panel, now.rawX, now.rawY, VAL_RED);
        }
        if (calibrated) {
            plotPoint(panel, now.posX, now.posY, VAL_GREEN);
        }
        break;
    case PLOT_TRACE:
        if (raw) {
            plotSegment(panel, prevPoint.rawX, prevPoint.rawY, now.rawX, now.rawY, VAL_RED);
        }
        if (calibrated) {
            plotSegment(panel, prevPoint.posX, prevPoint.posY, now.posX, now.posY, VAL_GREEN);
        }
        break;
    default:
        break;
    }
}

} // namespace

int timerReadAICB(int panel, int, int event, void *, int, int) {
    if (event != EVENT_TIMER_TICK) {
        return 0;
    }
    const double a2 = readChannel(X_CHANNEL);
    showVolts(panel, PANEL_AI2, a2);
    const double a3 = readChannel(Y_CHANNEL);
    showVolts(panel, PANEL_AI3, a3);

    const bool swapped = ctrlInt(panel, PANEL_SWAP) != 0;
    const double x = swapped ? a3 : a2;
    const double y = swapped ? a2 : a3;
    const TracePoint now = {x, y, calibratedPosition(x, calX), calibratedPosition(y, calY)};
    plot(panel, now);
    // Also when nothing was drawn, so a later trace starts from this tick.
    prevPoint = now;
    recordSample(panel, {a2, a3, now.posX, now.posY});
    return 0;
}

int readAiIntervalCB(int panel, int control, int event, void *, int, int) {
    intervalFieldEvent(panel, control, event, PANEL_AI_TIMER, "Sample every");
    return 0;
}

int JCalibrateCB(int panel, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    GetCtrlVal(panel, PANEL_Y_MAX, &calY.max);
    GetCtrlVal(panel, PANEL_Y_MIN, &calY.min);
    GetCtrlVal(panel, PANEL_Y_MID, &calY.mid);
    GetCtrlVal(panel, PANEL_X_MAX, &calX.max);
    GetCtrlVal(panel, PANEL_X_MIN, &calX.min);
    GetCtrlVal(panel, PANEL_X_MID, &calX.mid);
    return 0;
}
