// Operations on XY graph controls.
#include "panel_registry.h"
#include "userint.h"
#include "xygraph.h"

namespace {

XYGraph *findGraph(int panel, int control, int *error) {
    Control *target = findControl(panel, control, error);
    if (!target)
        return nullptr;
    if (target->kind != ControlKind::Graph) {
        *error = UI_ERROR_WRONG_KIND;
        return nullptr;
    }
    return static_cast<XYGraph *>(target->widget.data());
}

} // namespace

int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max) {
    int error = 0;
    XYGraph *graph = findGraph(panel, control, &error);
    if (!graph)
        return error;
    if (mode != VAL_MANUAL || (axis != VAL_XAXIS && axis != VAL_LEFT_YAXIS))
        return UI_ERROR_WRONG_KIND;
    const bool set = axis == VAL_XAXIS ? graph->setXRange(min, max) : graph->setYRange(min, max);
    return set ? 0 : UI_ERROR_BAD_VALUE;
}

int GetAxisScalingMode(int panel, int control, int axis, int *mode, double *min, double *max) {
    int error = 0;
    XYGraph *graph = findGraph(panel, control, &error);
    if (!graph)
        return error;
    if (!mode || !min || !max)
        return UI_ERROR_BAD_VALUE;
    if (axis != VAL_XAXIS && axis != VAL_LEFT_YAXIS)
        return UI_ERROR_WRONG_KIND;
    *mode = VAL_MANUAL;
    *min = axis == VAL_XAXIS ? graph->xMin() : graph->yMin();
    *max = axis == VAL_XAXIS ? graph->xMax() : graph->yMax();
    return 0;
}

int DeleteGraphPlot(int panel, int control, int plotHandle, int) {
    int error = 0;
    XYGraph *graph = findGraph(panel, control, &error);
    if (!graph)
        return error;
    if (plotHandle != VAL_ALL_PLOTS)
        return UI_ERROR_BAD_VALUE;
    graph->clear();
    return 0;
}

int PlotPoint(int panel, int control, double x, double y, int pointStyle, int color) {
    int error = 0;
    XYGraph *graph = findGraph(panel, control, &error);
    if (!graph)
        return error;
    if (pointStyle != VAL_SOLID_SQUARE)
        return UI_ERROR_WRONG_KIND;
    return graph->addMarker(x, y, color) ? 0 : UI_ERROR_BAD_VALUE;
}

int PlotLine(int panel, int control, double x1, double y1, double x2, double y2, int color) {
    int error = 0;
    XYGraph *graph = findGraph(panel, control, &error);
    if (!graph)
        return error;
    return graph->addSegment(x1, y1, x2, y2, color) ? 0 : UI_ERROR_BAD_VALUE;
}
