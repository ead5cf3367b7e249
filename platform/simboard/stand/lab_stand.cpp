#include "lab_stand.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace simboard {
namespace {

constexpr int switchPort = 1;
constexpr int firstSwitchLine = 4;
constexpr int joystickXChannel = 2;
constexpr int joystickYChannel = 3;

} // namespace

void LabStand::reset() {
    uint64_t seed = s_.seed;
    s_ = StandSettings{};
    s_.seed = seed;
}

bool LabStand::switchPressed(int index, double t) const {
    switch (s_.switches[index]) {
    case SwitchMode::Pressed:
        return true;
    case SwitchMode::Released:
        return false;
    case SwitchMode::Cycle:
        break;
    }
    // Each switch in turn is held down for a second of the cycle, with a pause between.
    double phase = std::fmod(t, switchCyclePeriod);
    double slot = switchCyclePeriod / switchCount;
    return phase >= index * slot && phase < index * slot + 1.0;
}

bool LabStand::standLevel(int port, int line, double t) const {
    if (const auto &level = s_.lineOverrides[port * linesPerPort + line]) {
        return *level;
    }
    if (port == switchPort && line >= firstSwitchLine) {
        return !switchPressed(line - firstSwitchLine, t);
    }
    return false;
}

bool LabStand::lineLevel(int port, int line, double t) const {
    if (std::optional<bool> driven = board_.drivenLevel(port, line)) {
        return *driven;
    }
    return standLevel(port, line, t);
}

double LabStand::joystickVolts(int channel, double t) const {
    double noise = noiseAt(s_.seed, channel, t, s_.joystickNoise);
    if (!joystickPowered(t)) {
        return noise;
    }
    Joystick::Axis axis = channel == joystickXChannel ? Joystick::Axis::X : Joystick::Axis::Y;
    return s_.joystick.volts(axis, t) + noise;
}

double LabStand::analogInputAt(int channel, double t) {
    double value = 0.0;
    fillAnalogInput(channel, SampleTimes{t, 1.0}, 0, 1, &value);
    return value;
}

void LabStand::fillAnalogInput(int channel, SampleTimes times, uint64_t first, size_t count,
                               double *out) {
    if (const auto &level = s_.analogOverrides[channel]) {
        std::fill(out, out + count, *level);
        return;
    }
    if (channel < analogOutputCount) {
        for (size_t i = 0; i < count; ++i) {
            out[i] = board_.analogOutputAt(channel, times.at(first + i));
        }
        return;
    }
    if (channel == joystickXChannel || channel == joystickYChannel) {
        for (size_t i = 0; i < count; ++i) {
            out[i] = joystickVolts(channel, times.at(first + i));
        }
        return;
    }
    std::fill(out, out + count, 0.0);
}

} // namespace simboard
