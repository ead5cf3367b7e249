// What can be set on the lab stand, as plain data: it lives in the board's state, which
// processes may share.  The settings come in two layers, so that what a process's bench
// file set ends with that process: the settings in force, and beneath them the defaults
// with what was set from outside the programs (orvex-sim or a control call), which the
// stand returns to when that process ends and which last until a reset.
#ifndef PLATFORM_SIMBOARD_STAND_STAND_SETTINGS_H
#define PLATFORM_SIMBOARD_STAND_STAND_SETTINGS_H

#include "joystick.h"
#include "names/channel_names.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace simboard {

enum class SwitchMode : uint8_t { Cycle, Pressed, Released };

constexpr int switchCount = 4;

struct StandSettings {
    static constexpr double defaultJoystickNoise = 0.004;

    std::array<SwitchMode, switchCount> switches{};
    std::array<std::optional<bool>, portCount * linesPerPort> lineOverrides{};
    std::array<std::optional<double>, analogInputCount> analogOverrides{};
    Joystick joystick;
    double joystickNoise = defaultJoystickNoise;
    uint64_t seed = 0;
};

// Who set a setting: nobody (the stand's default), a control call from outside the
// programs, or the bench file of the process that set the board up.
enum class SetBy : uint8_t { Default, Outside, BenchFile };

// The settings that are set one by one, numbered for who set each.
namespace standSetting {
constexpr size_t seed = 0;
constexpr size_t joystickNoise = 1;
constexpr size_t joystickHold = 2;
constexpr size_t joystickPath = 3;
constexpr size_t firstSwitch = 4;
constexpr size_t firstLine = firstSwitch + switchCount;
constexpr size_t firstAnalogInput = firstLine + portCount * linesPerPort;
constexpr size_t count = firstAnalogInput + analogInputCount;
} // namespace standSetting

struct StandLayers {
    StandSettings current;
    StandSettings outside; // what `current` returns to when the bench file's process ends
    std::array<SetBy, standSetting::count> currentSetBy{};
    std::array<SetBy, standSetting::count> outsideSetBy{};

    // `change` edits one setting of a StandSettings: the one in force, and when it comes
    // from outside, the one beneath as well, so that it outlasts the bench file's.
    template <class Change> void set(size_t setting, SetBy by, Change &&change) {
        change(current);
        currentSetBy[setting] = by;
        if (by == SetBy::Outside) {
            change(outside);
            outsideSetBy[setting] = by;
        }
    }
    SetBy setBy(size_t setting) const { return currentSetBy[setting]; }
    // What the bench file set gives way to what lies beneath it.
    void endBenchFile() {
        current = outside;
        currentSetBy = outsideSetBy;
    }
    // The defaults in both layers; each keeps its seed.
    void reset();
};

} // namespace simboard

#endif
