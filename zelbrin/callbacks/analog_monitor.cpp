#include "analog_monitor.h"

#include "files/recording.h"
#include "interval_fields.h"
#include "uiruntime/userint.h"
#include "window/panel_frame.h"
#include <orvex.h>

#include <cmath>

namespace zelbrin {

Calibration calX = {0.0, 2.5, 5.0};
Calibration calY = {0.0, 2.5, 5.0};
TracePoint prevPoint = {0.0, 0.0, 0.0, 0.0};

namespace {

constexpr int ai2Channel = 2;
constexpr int ai3Channel = 3;

double readChannel(int channel) {
    double volts = 0.0;
    const int status = orvex_analogIn(channel, &volts);
    libErrChk(status);
    return readVolts(status, volts);
}

// A channel that has no voltage this tick shows as unknown.
void showVolts(int panel, int display, double volts) {
    if (std::isnan(volts)) {
        SetCtrlAttribute(panel, display, ATTR_VALUE_UNKNOWN, 1);
    } else {
        SetCtrlVal(panel, display, volts);
    }
}

int ctrlInt(int panel, int control) {
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

int colourOf(PlotSeries series) {
    return series == PlotSeries::Raw ? VAL_RED : VAL_GREEN;
}

void draw(int panel, const TickPlot &plot) {
    if (plot.clearGraph) {
        DeleteGraphPlot(panel, PANEL_GRAPH, VAL_ALL_PLOTS, VAL_IMMEDIATE_DRAW);
    }
    for (const PlotMark &mark : plot.marks) {
        if (mark.point) {
            PlotPoint(panel, PANEL_GRAPH, mark.x1, mark.y1, VAL_SOLID_SQUARE,
                      colourOf(mark.series));
        } else {
            PlotLine(panel, PANEL_GRAPH, mark.x1, mark.y1, mark.x2, mark.y2, colourOf(mark.series));
        }
    }
}

} // namespace

} // namespace zelbrin

using namespace zelbrin;

int timerReadAICB(int panel, int, int event, void *, int, int) {
    if (event != EVENT_TIMER_TICK) {
        return 0;
    }
    const double a2 = readChannel(ai2Channel);
    showVolts(panel, PANEL_AI2, a2);
    const double a3 = readChannel(ai3Channel);
    showVolts(panel, PANEL_AI3, a3);

    const TracePoint now = tracePoint(a2, a3, ctrlInt(panel, PANEL_SWAP) != 0, calX, calY);
    const PlotChoices choices = {ctrlInt(panel, PANEL_PLOT_MODE),
                                 ctrlInt(panel, PANEL_SHOW_RAW) != 0,
                                 ctrlInt(panel, PANEL_SHOW_NORM) != 0};
    draw(panel, planTickPlot(prevPoint, now, choices));
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
