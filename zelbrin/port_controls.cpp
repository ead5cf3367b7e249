#include "port_controls.h"

#include "digital_panel.h"
#include "panel_frame.h"
#include "userint.h"

#include <cstdio>

namespace {

constexpr int ROW_HEIGHT = 30;
constexpr int LINE_LED_LEFT = 0;
constexpr int LINE_BUTTON_LEFT = 40;
constexpr int SWITCH_LEFT = 130;
constexpr int SWITCH_FIRST_TOP = 30;
constexpr int SWITCH_SPACING = 60;

struct AxisRange {
    int button;
    double min;
    double max;
};

// Each range leaves 0.1 to spare at both ends of what it is meant to show: calibrated
// positions, the 0 to 5 V joystick span, and the whole input range.
constexpr AxisRange AXIS_RANGES[] = {
    {PANEL_RANGE_1, -1.1, 1.1},
    {PANEL_RANGE_5, -0.1, 5.1},
    {PANEL_RANGE_10, -10.1, 10.1},
};

} // namespace

void createGUI() {
    char label[10];
    // Line 15 at the top, so the column reads like the port's bits.
    for (int i = 0; i < PANEL_LINES; ++i) {
        std::snprintf(label, sizeof label, "AD%d", i);
        const int top = ROW_HEIGHT * (PANEL_LINES - 1 - i);
        ledCtrl[i] = NewCtrl(panelHandle, CTRL_LED_NO_LABEL, nullptr, top, LINE_LED_LEFT);
        btnCtrl[i] = NewCtrl(panelHandle, CTRL_SQUARE_COMMAND_BUTTON, label, top, LINE_BUTTON_LEFT);
        SetCtrlAttribute(panelHandle, btnCtrl[i], ATTR_CALLBACK_FUNCTION_POINTER, ADbuttonCB);
    }
    for (int i = 1; i <= SWITCH_INDICATORS; ++i) {
        std::snprintf(label, sizeof label, "S%d", i);
        const int top = SWITCH_FIRST_TOP + SWITCH_SPACING * (i - 1);
        swCtrl[i] = NewCtrl(panelHandle, CTRL_LED_WITH_LABEL, label, top, SWITCH_LEFT);
    }
}

int setAxes(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    for (const AxisRange &range : AXIS_RANGES) {
        if (range.button == control) {
            SetAxisScalingMode(panel, PANEL_GRAPH, VAL_XAXIS, VAL_MANUAL, range.min, range.max);
            SetAxisScalingMode(panel, PANEL_GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, range.min,
                               range.max);
        }
    }
    return 0;
}
