#include "window_setup.h"

#include "callbacks/analog_monitor.h"
#include "uiruntime/userint.h"
#include "window/axis_titles.h"
#include "window/panel_frame.h"

namespace zelbrin {

namespace {

double doubleOf(int panel, int control) {
    double value = 0.0;
    GetCtrlVal(panel, control, &value);
    return value;
}

int intOf(int panel, int control) {
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

AxisSpan axisOf(int panel, int axis) {
    int mode = 0;
    AxisSpan span{0.0, 0.0};
    GetAxisScalingMode(panel, PANEL_GRAPH, axis, &mode, &span.min, &span.max);
    return span;
}

void showCalibration(int panel, const Calibration &cal, int minField, int midField, int maxField) {
    SetCtrlVal(panel, minField, cal.min);
    SetCtrlVal(panel, midField, cal.mid);
    SetCtrlVal(panel, maxField, cal.max);
}

void setInterval(int panel, int field, int timer, double seconds) {
    SetCtrlVal(panel, field, seconds);
    SetCtrlAttribute(panel, timer, ATTR_INTERVAL, seconds);
}

} // namespace

Setup setupOfWindow(int panel) {
    return {calX,
            calY,
            doubleOf(panel, PANEL_GUI_INTERVAL),
            doubleOf(panel, PANEL_AI_INTERVAL),
            intOf(panel, PANEL_PLOT_MODE),
            intOf(panel, PANEL_SHOW_RAW) != 0,
            intOf(panel, PANEL_SHOW_NORM) != 0,
            intOf(panel, PANEL_SWAP) != 0,
            axisOf(panel, VAL_XAXIS),
            axisOf(panel, VAL_LEFT_YAXIS)};
}

void applySetup(int panel, const Setup &setup) {
    calX = setup.x;
    calY = setup.y;
    showCalibration(panel, setup.x, PANEL_X_MIN, PANEL_X_MID, PANEL_X_MAX);
    showCalibration(panel, setup.y, PANEL_Y_MIN, PANEL_Y_MID, PANEL_Y_MAX);
    setInterval(panel, PANEL_GUI_INTERVAL, PANEL_GUI_TIMER, setup.refreshSeconds);
    setInterval(panel, PANEL_AI_INTERVAL, PANEL_AI_TIMER, setup.sampleSeconds);
    SetCtrlVal(panel, PANEL_PLOT_MODE, setup.plotMode);
    SetCtrlVal(panel, PANEL_SHOW_RAW, setup.showRaw ? 1 : 0);
    SetCtrlVal(panel, PANEL_SHOW_NORM, setup.showCalibrated ? 1 : 0);
    SetCtrlVal(panel, PANEL_SWAP, setup.swap ? 1 : 0);
    SetAxisScalingMode(panel, PANEL_GRAPH, VAL_XAXIS, VAL_MANUAL, setup.xAxis.min, setup.xAxis.max);
    SetAxisScalingMode(panel, PANEL_GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, setup.yAxis.min,
                       setup.yAxis.max);
    showAxisTitles(panel);
}

} // namespace zelbrin
