#include "joystick.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace simboard {
namespace {

struct AxisSpan {
    double low;
    double centre;
    double high;

    // deflection -1 .. +1 to volts; the two halves differ, as on a real potentiometer.
    double volts(double deflection) const {
        return deflection >= 0.0 ? centre + deflection * (high - centre)
                                 : centre + deflection * (centre - low);
    }
};

constexpr AxisSpan xAxis{0.22, 2.46, 4.79};
constexpr AxisSpan yAxis{0.18, 2.55, 4.82};

} // namespace

double Joystick::volts(Axis axis, double t) const {
    if (held_) {
        return axis == Axis::X ? held_->x : held_->y;
    }
    double phase = pathPhase(t);
    return pointCount_ == 0 ? builtInFigure(axis, phase) : alongPoints(axis, phase);
}

void Joystick::setPath(std::span<const StickVoltages> points, double period) {
    pointCount_ = std::min(points.size(), maxPathPoints);
    std::copy_n(points.begin(), pointCount_, points_.begin());
    period_ = period > 0.0 ? period : defaultPeriod;
}

void Joystick::reset() {
    held_.reset();
    pointCount_ = 0;
    period_ = defaultPeriod;
}

double Joystick::pathPhase(double t) const {
    double period = period_ > 0.0 && period_ < 1e9 ? period_ : defaultPeriod;
    double phase = std::fmod(t, period) / period;
    return phase < 0.0 ? phase + 1.0 : phase;
}

double Joystick::builtInFigure(Axis axis, double phase) const {
    constexpr double turn = 2.0 * std::numbers::pi;
    if (axis == Axis::X) {
        return xAxis.volts(0.95 * std::sin(turn * phase));
    }
    return yAxis.volts(0.9 * std::sin(2.0 * turn * phase + 0.6));
}

// Cosine easing between successive points keeps the motion smooth at every point.
double Joystick::alongPoints(Axis axis, double phase) const {
    // The count is clamped again: the path may come from memory another process wrote.
    size_t count = std::min(pointCount_, maxPathPoints);
    double position = phase * static_cast<double>(count);
    size_t index = static_cast<size_t>(position) % count;
    const StickVoltages &from = points_[index];
    const StickVoltages &to = points_[(index + 1) % count];
    double ease = 0.5 - 0.5 * std::cos(std::numbers::pi * (position - std::floor(position)));
    return axis == Axis::X ? from.x + (to.x - from.x) * ease : from.y + (to.y - from.y) * ease;
}

} // namespace simboard
