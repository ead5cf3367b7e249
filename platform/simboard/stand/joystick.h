// The two-axis joystick of the lab stand: X wiper on ai2, Y on ai3.  Each axis spans
// about 0.2 to 4.8 V around a centre near 2.5 V, with its own small offsets, so that a
// lab program's three-point calibration has something to correct.  Plain data of fixed
// size, so that it can live in memory that processes share.
#ifndef PLATFORM_SIMBOARD_STAND_JOYSTICK_H
#define PLATFORM_SIMBOARD_STAND_JOYSTICK_H

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace simboard {

struct StickVoltages {
    double x = 0.0;
    double y = 0.0;
};

class Joystick {
  public:
    static constexpr double defaultPeriod = 7.0;
    static constexpr size_t maxPathPoints = 64;

    enum class Axis { X, Y };

    // The wiper voltage of one axis at board time t while the stick is powered.
    double volts(Axis axis, double t) const;

    void hold(StickVoltages voltages) { held_ = voltages; }
    const std::optional<StickVoltages> &held() const { return held_; }
    void release() { held_.reset(); }
    // A closed path through the given voltages (at most maxPathPoints), travelled once per
    // period; an empty list restores the built-in figure.
    void setPath(std::span<const StickVoltages> points, double period);
    // 0 for the built-in figure.
    size_t pathPointCount() const {
        return pointCount_ < maxPathPoints ? pointCount_ : maxPathPoints;
    }
    double period() const { return period_; }
    void reset();

  private:
    double pathPhase(double t) const;
    double builtInFigure(Axis axis, double phase) const;
    double alongPoints(Axis axis, double phase) const;

    std::optional<StickVoltages> held_;
    std::array<StickVoltages, maxPathPoints> points_{};
    size_t pointCount_ = 0;
    double period_ = defaultPeriod;
};

} // namespace simboard

#endif
