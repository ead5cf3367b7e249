// Operations on XY graph controls.
#include "panel_registry.h"
#include "uiruntime/userint.h"
#include "widgets/xygraph.h"

namespace {

// Runs the operation on the graph control and returns its status, or the refusal's.
template <typename Operation> int withGraph(int panel, int control, Operation operation) {
    return panel::withControl(panel, control, [&operation](panel::Control &target) {
        if (target.kind != panel::ControlKind::Graph) {
            return int{UI_ERROR_WRONG_KIND};
        }
        return operation(*static_cast<panel::XYGraph *>(target.widget.data()));
    });
}

} // namespace

int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max) {
    return withGraph(panel, control, [=](panel::XYGraph &graph) {
        if (mode != VAL_MANUAL || (axis != VAL_XAXIS && axis != VAL_LEFT_YAXIS)) {
            return int{UI_ERROR_WRONG_KIND};
        }
        const bool set = axis == VAL_XAXIS ? graph.setXRange(min, max) : graph.setYRange(min, max);
        return set ? 0 : int{UI_ERROR_BAD_VALUE};
    });
}

int GetAxisScalingMode(int panel, int control, int axis, int *mode, double *min, double *max) {
    return withGraph(panel, control, [=](const panel::XYGraph &graph) {
        if (!mode || !min || !max) {
            return int{UI_ERROR_BAD_VALUE};
        }
        if (axis != VAL_XAXIS && axis != VAL_LEFT_YAXIS) {
            return int{UI_ERROR_WRONG_KIND};
        }
        *mode = VAL_MANUAL;
        *min = axis == VAL_XAXIS ? graph.xMin() : graph.yMin();
        *max = axis == VAL_XAXIS ? graph.xMax() : graph.yMax();
        return 0;
    });
}

int DeleteGraphPlot(int panel, int control, int plotHandle, int) {
    return withGraph(panel, control, [plotHandle](panel::XYGraph &graph) {
        if (plotHandle != VAL_ALL_PLOTS) {
            return int{UI_ERROR_BAD_VALUE};
        }
        graph.clear();
        return 0;
    });
}

int PlotPoint(int panel, int control, double x, double y, int pointStyle, int color) {
    return withGraph(panel, control, [=](panel::XYGraph &graph) {
        if (pointStyle != VAL_SOLID_SQUARE) {
            return int{UI_ERROR_WRONG_KIND};
        }
        return graph.addMarker(x, y, color) ? 0 : int{UI_ERROR_BAD_VALUE};
    });
}

int PlotLine(int panel, int control, double x1, double y1, double x2, double y2, int color) {
    return withGraph(panel, control, [=](panel::XYGraph &graph) {
        return graph.addSegment(x1, y1, x2, y2, color) ? 0 : int{UI_ERROR_BAD_VALUE};
    });
}
