// Where an axis gets its ticks: round steps of 1, 2 or 5 times a power of ten.
#ifndef PLATFORM_UIRUNTIME_PANEL_GRAPH_AXIS_TICKS_H
#define PLATFORM_UIRUNTIME_PANEL_GRAPH_AXIS_TICKS_H

#include <QString>
#include <vector>

namespace panel {

struct AxisTick {
    double value;
    QString label;
};

// Ticks inside [min, max], at most about maxTicks of them; empty unless min < max and both
// are finite.  Labels are short ("0.5", "-10", "1e+06") and never show rounding noise such
// as "-1.38778e-17" for zero.
std::vector<AxisTick> axisTicks(double min, double max, int maxTicks);

} // namespace panel

#endif
