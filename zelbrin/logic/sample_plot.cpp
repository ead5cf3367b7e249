#include "sample_plot.h"

#include <cmath>
#include <limits>

namespace zelbrin {

namespace {

bool drawable(double x, double y) {
    return std::isfinite(x) && std::isfinite(y);
}

void addPoint(std::vector<PlotMark> &marks, PlotSeries series, double x, double y) {
    if (drawable(x, y)) {
        marks.push_back({series, true, x, y, x, y});
    }
}

void addSegment(std::vector<PlotMark> &marks, PlotSeries series, double x1, double y1, double x2,
                double y2) {
    if (drawable(x1, y1) && drawable(x2, y2)) {
        marks.push_back({series, false, x1, y1, x2, y2});
    }
}

} // namespace

double readVolts(int status, double volts) {
    return status >= 0 ? volts : std::numeric_limits<double>::quiet_NaN();
}

TracePoint tracePoint(double ai2, double ai3, bool swapped, const Calibration &calX,
                      const Calibration &calY) {
    const double x = swapped ? ai3 : ai2;
    const double y = swapped ? ai2 : ai3;
    return {x, y, calibratedPosition(x, calX), calibratedPosition(y, calY)};
}

TickPlot planTickPlot(const TracePoint &previous, const TracePoint &now,
                      const PlotChoices &choices) {
    TickPlot plot{false, {}};
    switch (choices.mode) {
    case PLOT_POINTS:
        plot.clearGraph = true;
        if (choices.raw) {
            addPoint(plot.marks, PlotSeries::Raw, now.rawX, now.rawY);
        }
        if (choices.calibrated) {
            addPoint(plot.marks, PlotSeries::Calibrated, now.posX, now.posY);
        }
        break;
    case PLOT_TRACE:
        if (choices.raw) {
            addSegment(plot.marks, PlotSeries::Raw, previous.rawX, previous.rawY, now.rawX,
                       now.rawY);
        }
        if (choices.calibrated) {
            addSegment(plot.marks, PlotSeries::Calibrated, previous.posX, previous.posY, now.posX,
                       now.posY);
        }
        break;
    default:
        break;
    }
    return plot;
}

} // namespace zelbrin
