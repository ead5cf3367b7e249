#include "graph_ranges.h"

#include "uiruntime/userint.h"
#include "window/panel_frame.h"

using namespace zelbrin;

namespace {

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
