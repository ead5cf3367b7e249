// The lab stand wired to the board:
//   - port 2 line 0 high powers the joystick (X on ai2, Y on ai3);
//   - switches S1..S4 on port 1 lines 4..7, pulled high, low while pressed; by default
//     pressed one after the other on a slow cycle;
//   - ao0 wired to ai0 and ao1 to ai1;
//   - every other line reads low and every other input 0 V.
// A bench file or a test may override any input line or analog input.
#ifndef PLATFORM_SIMBOARD_STAND_LAB_STAND_H
#define PLATFORM_SIMBOARD_STAND_LAB_STAND_H

#include "board_outputs.h"
#include "joystick.h"
#include "names/channel_names.h"
#include "sample_timeline.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace simboard {

enum class SwitchMode : uint8_t { Cycle, Pressed, Released };

constexpr int switchCount = 4;

// What can be set on the stand, as plain data: it lives in the board's state, which
// processes may share.
struct StandSettings {
    static constexpr double defaultJoystickNoise = 0.004;

    std::array<SwitchMode, switchCount> switches{};
    std::array<std::optional<bool>, portCount * linesPerPort> lineOverrides{};
    std::array<std::optional<double>, analogInputCount> analogOverrides{};
    Joystick joystick;
    double joystickNoise = defaultJoystickNoise;
    uint64_t seed = 0;
};

class LabStand {
  public:
    static constexpr int switchCount = simboard::switchCount;
    static constexpr double switchCyclePeriod = 8.0;

    LabStand(BoardOutputs &board, StandSettings &settings) : board_(board), s_(settings) {}

    // The level on a line with nothing of the board driving it.
    bool standLevel(int port, int line, double t) const;
    // The level a reader of the line sees: the board's own drive wins.
    bool lineLevel(int port, int line, double t) const;

    double analogInputAt(int channel, double t);
    // Samples first .. first+count-1 of a clock, without a call per sample into the
    // wiring decisions.
    void fillAnalogInput(int channel, SampleTimes times, uint64_t first, size_t count, double *out);

    void setSwitch(int number, SwitchMode mode) { s_.switches[number - 1] = mode; }
    void setLine(int port, int line, std::optional<bool> level) {
        s_.lineOverrides[port * linesPerPort + line] = level;
    }
    void setAnalogInput(int channel, std::optional<double> volts) {
        s_.analogOverrides[channel] = volts;
    }
    void setJoystickNoise(double peakVolts) { s_.joystickNoise = peakVolts; }
    void setSeed(uint64_t seed) { s_.seed = seed; }
    Joystick &joystick() { return s_.joystick; }
    const StandSettings &settings() const { return s_; }
    // Back to the stand's defaults; the seed stays.
    void reset();

  private:
    bool switchPressed(int index, double t) const;
    bool joystickPowered(double t) const { return lineLevel(2, 0, t); }
    double joystickVolts(int channel, double t) const;

    BoardOutputs &board_;
    StandSettings &s_;
};

} // namespace simboard

#endif
