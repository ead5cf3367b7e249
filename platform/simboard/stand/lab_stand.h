// The lab stand wired to the board:
//   - port 2 line 0 high powers the joystick (X on ai2, Y on ai3);
//   - switches S1..S4 on port 1 lines 4..7, pulled high, low while pressed; by default
//     pressed one after the other on a slow cycle;
//   - ao0 wired to ai0 and ao1 to ai1, AI SENSE to ground;
//   - every other line reads low and every other input 0 V.
// A bench file or a test may override any input line or analog input.
#ifndef PLATFORM_SIMBOARD_STAND_LAB_STAND_H
#define PLATFORM_SIMBOARD_STAND_LAB_STAND_H

#include "board_outputs.h"
#include "joystick.h"
#include "names/channel_names.h"
#include "sample_timeline.h"
#include "stand_settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace simboard {

// The level the stand puts on a line with nothing of the board driving it, from its settings
// of the line: its override, and the switches' modes where it is a switch's line.
bool standLineLevel(int port, int line, std::optional<bool> override,
                    const std::array<SwitchMode, switchCount> &switches, double t);

class LabStand {
  public:
    static constexpr int switchCount = simboard::switchCount;
    static constexpr double switchCyclePeriod = 8.0;

    LabStand(BoardOutputs &board, StandLayers &layers) : board_(board), layers_(layers) {}

    // The level on a line with nothing of the board driving it.
    bool standLevel(int port, int line, double t) const;
    // The level a reader of the line sees: the board's own drive wins.
    bool lineLevel(int port, int line, double t) const;

    double analogInputAt(int channel, double t);
    // Samples first .. first+count-1 of a clock, without a call per sample into the
    // wiring decisions.
    void fillAnalogInput(int channel, SampleTimes times, uint64_t first, size_t count, double *out);

    // Each change comes from outside the programs unless the bench file makes it.
    void setSwitch(int number, SwitchMode mode, SetBy by = SetBy::Outside);
    void setLine(int port, int line, std::optional<bool> level, SetBy by = SetBy::Outside);
    void setAnalogInput(int channel, std::optional<double> volts, SetBy by = SetBy::Outside);
    void setJoystickNoise(double peakVolts, SetBy by = SetBy::Outside);
    void setSeed(uint64_t seed, SetBy by = SetBy::Outside);
    void holdJoystick(StickVoltages voltages, SetBy by = SetBy::Outside);
    void releaseJoystick(SetBy by = SetBy::Outside);
    void setJoystickPath(std::span<const StickVoltages> points, double period,
                         SetBy by = SetBy::Outside);
    const Joystick &joystick() const { return s().joystick; }
    const StandSettings &settings() const { return s(); }
    // Back to the stand's defaults; the seed stays.
    void reset() { layers_.reset(); }

  private:
    bool joystickPowered(double t) const { return lineLevel(2, 0, t); }
    double joystickVolts(int channel, double t) const;

    const StandSettings &s() const { return layers_.current; }

    BoardOutputs &board_;
    StandLayers &layers_;
};

} // namespace simboard

#endif
