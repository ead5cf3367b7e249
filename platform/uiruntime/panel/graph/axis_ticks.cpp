#include "axis_ticks.h"

#include <cmath>

namespace panel {

namespace {

double roundStep(double rough) {
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * decade >= rough) {
            return factor * decade;
        }
    }
    return 10.0 * decade;
}

} // namespace

std::vector<AxisTick> axisTicks(double min, double max, int maxTicks) {
    std::vector<AxisTick> ticks;
    if (!std::isfinite(min) || !std::isfinite(max) || !(min < max) || maxTicks < 2) {
        return ticks;
    }
    const double step = roundStep((max - min) / (maxTicks - 1));
    if (!std::isfinite(step) || step <= 0.0) {
        return ticks;
    }
    const double first = std::ceil(min / step);
    const double last = std::floor(max / step);
    if (!(last - first < 2.0 * maxTicks)) { // ends so large that the step vanishes in rounding
        return ticks;
    }
    const int count = static_cast<int>(last - first) + 1;
    for (int i = 0; i < count; ++i) {
        double value = (first + i) * step;
        if (std::fabs(value) < step * 1e-9) {
            value = 0.0;
        }
        ticks.push_back({value, QString::number(value, 'g', 6)});
    }
    return ticks;
}

} // namespace panel
