#include "joystick.h"

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
        return axis == Axis::x ? held_->x : held_->y;
    }
    double phase = pathPhase(t);
    return points_.empty() ? builtInFigure(axis, phase) : alongPoints(axis, phase);
}

void Joystick::setPath(std::vector<StickVoltages> points, double period) {
    points_ = std::move(points);
    period_ = period > 0.0 ? period : defaultPeriod;
}

void Joystick::reset() {
    held_.reset();
    points_.clear();
    period_ = defaultPeriod;
}

double Joystick::pathPhase(double t) const {
    double phase = std::fmod(t, period_) / period_;
    return phase < 0.0 ? phase + 1.0 : phase;
}

double Joystick::builtInFigure(Axis axis, double phase) const {
    constexpr double turn = 2.0 * std::numbers::pi;
    if (axis == Axis::x) {
        return xAxis.volts(0.95 * std::sin(turn * phase));
    }
    return yAxis.volts(0.9 * std::sin(2.0 * turn * phase + 0.6));
}

// Cosine easing between successive points keeps the motion smooth at every point.
double Joystick::alongPoints(Axis axis, double phase) const {
    double position = phase * static_cast<double>(points_.size());
    size_t index = static_cast<size_t>(position) % points_.size();
    const StickVoltages &from = points_[index];
    const StickVoltages &to = points_[(index + 1) % points_.size()];
    double ease = 0.5 - 0.5 * std::cos(std::numbers::pi * (position - std::floor(position)));
    return axis == Axis::x ? from.x + (to.x - from.x) * ease : from.y + (to.y - from.y) * ease;
}

} // namespace simboard
