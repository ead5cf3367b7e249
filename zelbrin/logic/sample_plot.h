// What one tick of the sampling timer draws, apart from the graph itself: the two voltages
// become the X and Y of the point (after the swap) and their calibrated positions, and the
// plot mode and the two show flags choose the points or trace segments.
#ifndef ZELBRIN_LOGIC_SAMPLE_PLOT_H
#define ZELBRIN_LOGIC_SAMPLE_PLOT_H

#include "calibration.h"

#include <vector>

namespace zelbrin {

// One tick's voltages and calibrated positions; the previous tick's is where trace
// segments start.  A channel whose read failed is not a number.
struct TracePoint {
    double rawX;
    double rawY;
    double posX;
    double posY;
};

// The voltage a read stands for: not a number when the read failed.
double readVolts(int status, double volts);

// X is analog input 2 and Y input 3, or the other way round when swapped.
TracePoint tracePoint(double ai2, double ai3, bool swapped, const Calibration &calX,
                      const Calibration &calY);

// 0 points, 1 trace; any other mode draws nothing.
enum PlotMode { PLOT_POINTS = 0, PLOT_TRACE = 1 };

struct PlotChoices {
    int mode;
    bool raw;
    bool calibrated;
};

enum class PlotSeries { Raw, Calibrated };

// A point at (x1, y1), or a segment from (x1, y1) to (x2, y2).
struct PlotMark {
    PlotSeries series;
    bool point;
    double x1;
    double y1;
    double x2;
    double y2;

    bool operator==(const PlotMark &) const = default;
};

struct TickPlot {
    // Points replace what the graph showed; a trace piles up until the next points.
    bool clearGraph;
    // Raw first, then calibrated.
    std::vector<PlotMark> marks;
};

// A point or segment that would touch a coordinate that is not a finite number is left
// out: a failed read draws nothing made up, and the trace resumes a tick later.
TickPlot planTickPlot(const TracePoint &previous, const TracePoint &now,
                      const PlotChoices &choices);

} // namespace zelbrin

#endif
