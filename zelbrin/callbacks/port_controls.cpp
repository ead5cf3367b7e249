#include "port_controls.h"

#include "digital_panel.h"
#include "uiruntime/userint.h"
#include "window/panel_frame.h"

#include <cstdio>

namespace {

// A column of created controls, in the panel's units.
struct Column {
    int left;
    int firstTop;
    int spacing;

    int top(int row) const { return firstTop + spacing * row; }
};

// Line 15 in the top row, so the column reads like the port's bits; each line's button
// beside its indicator.
constexpr Column lineLeds = {0, 0, 30};
constexpr Column lineButtons = {40, 0, 30};
constexpr Column switchColumn = {130, 30, 60};

struct AxisRange {
    int button;
    double min;
    double max;
};

// Each range leaves 0.1 to spare at both ends of what it is meant to show: calibrated
// positions, the 0 to 5 V joystick span, and the whole input range.
constexpr AxisRange axisRanges[] = {
    {PANEL_RANGE_1, -1.1, 1.1},
    {PANEL_RANGE_5, -0.1, 5.1},
    {PANEL_RANGE_10, -10.1, 10.1},
};

} // namespace

void createGUI() {
    char label[10];
    for (int i = 0; i < panelLines; ++i) {
        std::snprintf(label, sizeof label, "AD%d", i);
        const int row = panelLines - 1 - i;
        ledCtrl[i] =
            NewCtrl(panelHandle, CTRL_LED_NO_LABEL, nullptr, lineLeds.top(row), lineLeds.left);
        btnCtrl[i] = NewCtrl(panelHandle, CTRL_SQUARE_COMMAND_BUTTON, label, lineButtons.top(row),
                             lineButtons.left);
        SetCtrlAttribute(panelHandle, btnCtrl[i], ATTR_CALLBACK_FUNCTION_POINTER, ADbuttonCB);
    }
    for (int i = 1; i <= switchIndicators; ++i) {
        std::snprintf(label, sizeof label, "S%d", i);
        swCtrl[i] = NewCtrl(panelHandle, CTRL_LED_WITH_LABEL, label, switchColumn.top(i - 1),
                            switchColumn.left);
    }
}

int setAxes(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    for (const AxisRange &range : axisRanges) {
        if (range.button == control) {
            SetAxisScalingMode(panel, PANEL_GRAPH, VAL_XAXIS, VAL_MANUAL, range.min, range.max);
            SetAxisScalingMode(panel, PANEL_GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, range.min,
                               range.max);
        }
    }
    return 0;
}
