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

bool switchPressed(SwitchMode mode, int index, double t) {
    switch (mode) {
    case SwitchMode::Pressed:
        return true;
    case SwitchMode::Released:
        return false;
    case SwitchMode::Cycle:
        break;
    }
    // Each switch in turn is held down for a second of the cycle, with a pause between.
    double phase = std::fmod(t, LabStand::switchCyclePeriod);
    double slot = LabStand::switchCyclePeriod / switchCount;
    return phase >= index * slot && phase < index * slot + 1.0;
}

} // namespace

void LabStand::setSwitch(int number, SwitchMode mode, SetBy by) {
    layers_.set(standSetting::firstSwitch + number - 1, by,
                [&](StandSettings &settings) { settings.switches[number - 1] = mode; });
}

void LabStand::setLine(int port, int line, std::optional<bool> level, SetBy by) {
    const int index = port * linesPerPort + line;
    layers_.set(standSetting::firstLine + index, by,
                [&](StandSettings &settings) { settings.lineOverrides[index] = level; });
}

void LabStand::setAnalogInput(int channel, std::optional<double> volts, SetBy by) {
    layers_.set(standSetting::firstAnalogInput + channel, by,
                [&](StandSettings &settings) { settings.analogOverrides[channel] = volts; });
}

void LabStand::setJoystickNoise(double peakVolts, SetBy by) {
    layers_.set(standSetting::joystickNoise, by,
                [&](StandSettings &settings) { settings.joystickNoise = peakVolts; });
}

void LabStand::setSeed(uint64_t seed, SetBy by) {
    layers_.set(standSetting::seed, by, [&](StandSettings &settings) { settings.seed = seed; });
}

void LabStand::holdJoystick(StickVoltages voltages, SetBy by) {
    layers_.set(standSetting::joystickHold, by,
                [&](StandSettings &settings) { settings.joystick.hold(voltages); });
}

void LabStand::releaseJoystick(SetBy by) {
    layers_.set(standSetting::joystickHold, by,
                [](StandSettings &settings) { settings.joystick.release(); });
}

void LabStand::setJoystickPath(std::span<const StickVoltages> points, double period, SetBy by) {
    layers_.set(standSetting::joystickPath, by,
                [&](StandSettings &settings) { settings.joystick.setPath(points, period); });
}

bool standLineLevel(int port, int line, std::optional<bool> override,
                    const std::array<SwitchMode, switchCount> &switches, double t) {
    if (override) {
        return *override;
    }
    if (port == switchPort && line >= firstSwitchLine) {
        const int index = line - firstSwitchLine;
        return !switchPressed(switches[index], index, t);
    }
    return false;
}

bool LabStand::standLevel(int port, int line, double t) const {
    return standLineLevel(port, line, s().lineOverrides[port * linesPerPort + line], s().switches,
                          t);
}

bool LabStand::lineLevel(int port, int line, double t) const {
    if (std::optional<bool> driven = board_.drivenLevel(port, line)) {
        return *driven;
    }
    return standLevel(port, line, t);
}

double LabStand::joystickVolts(int channel, double t) const {
    double noise = noiseAt(s().seed, channel, t, s().joystickNoise);
    if (!joystickPowered(t)) {
        return noise;
    }
    Joystick::Axis axis = channel == joystickXChannel ? Joystick::Axis::X : Joystick::Axis::Y;
    return s().joystick.volts(axis, t) + noise;
}

double LabStand::analogInputAt(int channel, double t) {
    double value = 0.0;
    fillAnalogInput(channel, SampleTimes{t, 1.0}, 0, 1, &value);
    return value;
}

void LabStand::fillAnalogInput(int channel, SampleTimes times, uint64_t first, size_t count,
                               double *out) {
    if (const auto &level = s().analogOverrides[channel]) {
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
