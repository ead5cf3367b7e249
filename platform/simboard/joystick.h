// The two-axis joystick of the lab stand: X wiper on ai2, Y on ai3.  Each axis spans
// about 0.2 to 4.8 V around a centre near 2.5 V, with its own small offsets, so that a
// lab program's three-point calibration has something to correct.
#ifndef ORVEX_SIMBOARD_JOYSTICK_H
#define ORVEX_SIMBOARD_JOYSTICK_H

#include <optional>
#include <vector>

namespace simboard {

struct StickVoltages {
    double x = 0.0;
    double y = 0.0;
};

class Joystick {
  public:
    static constexpr double defaultPeriod = 7.0;

    // The wiper voltages at board time t while the stick is powered.
    StickVoltages voltagesAt(double t) const;

    void hold(StickVoltages voltages) { held_ = voltages; }
    void release() { held_.reset(); }
    // A closed path through the given voltages, travelled once per period; an empty list
    // restores the built-in figure.
    void setPath(std::vector<StickVoltages> points, double period);
    void reset();

  private:
    StickVoltages pathAt(double t) const;

    std::optional<StickVoltages> held_;
    std::vector<StickVoltages> points_;
    double period_ = defaultPeriod;
};

} // namespace simboard

#endif
