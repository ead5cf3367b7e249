// What a bench file or a fragment of one asks of the board and its stand, as plain data:
// each field left empty is left as it is.  Read by bench_file.*, applied by the board.
#ifndef PLATFORM_SIMBOARD_BENCH_BENCH_SETTINGS_H
#define PLATFORM_SIMBOARD_BENCH_BENCH_SETTINGS_H

#include "fault_injection.h"
#include "stand/joystick.h"
#include "stand/lab_stand.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace simboard {

struct InputLineSetting {
    int port = 0;
    uint8_t lineMask = 0;
    std::optional<bool> level; // empty: the line back to the stand
};

struct AnalogInputSetting {
    int channel = 0;
    std::optional<double> volts; // empty: the input back to the stand
};

struct SwitchSetting {
    int number = 1; // S1 to S4
    SwitchMode mode = SwitchMode::Cycle;
};

struct JoystickPathSetting {
    std::vector<StickVoltages> points;
    double period = Joystick::defaultPeriod;
};

struct BenchSettings {
    std::optional<uint64_t> seed;
    std::optional<bool> privateBoard;
    std::optional<bool> virtualTime;
    std::optional<StickVoltages> holdJoystick;
    bool releaseJoystick = false;
    std::optional<JoystickPathSetting> joystickPath;
    std::optional<double> joystickNoise;
    // In the order given, so that a later entry wins where two overlap.
    std::vector<SwitchSetting> switches;
    std::vector<InputLineSetting> inputLines;
    std::vector<AnalogInputSetting> analogInputs;
    std::vector<Fault> faults;
};

// Whether the settings ask for a board of the process's own: it alone may run in virtual
// time.
inline bool asksForPrivateBoard(const BenchSettings &settings) {
    return settings.privateBoard == true || settings.virtualTime == true;
}

} // namespace simboard

#endif
