// Bench settings taken by the board: what only the board can check (its kind, its room for
// faults) is checked before anything changes.
#include "board.h"
#include "names/status_codes.h"

namespace simboard {
namespace {

Outcome refuseKey(const std::string &key, const std::string &why) {
    return refuse(status::benchFileInvalid, "\"" + key + "\": " + why);
}

} // namespace

Outcome Board::applySettings(const BenchSettings &settings, SettingsSource source, bool apply) {
    Outcome outcome = checkSettings(settings, source);
    if (apply && !outcome.failed()) {
        takeSettings(settings, source);
        changed_.notify_all();
    }
    return outcome;
}

Outcome Board::checkSettings(const BenchSettings &settings, SettingsSource source) const {
    const bool shared = store_->shared();
    if (source == SettingsSource::Fragment && settings.privateBoard &&
        *settings.privateBoard == shared) {
        return refuseKey("private", "the board is chosen in the bench file, when it is loaded");
    }
    if (settings.virtualTime == true && shared) {
        return refuseKey("virtualTime", "the shared board runs in real time; a bench file that "
                                        "asks for virtual time gets a board of the process's own");
    }
    if (faults_.armedCount() + settings.faults.size() > FaultTable::capacity) {
        return refuseKey("faults", "the board holds " + std::to_string(FaultTable::capacity) +
                                       " armed faults at most; reset it first");
    }
    return {};
}

void Board::takeSettings(const BenchSettings &settings, SettingsSource source) {
    // What the bench file sets lasts as long as its process; what a fragment sets comes from
    // outside the programs and lasts until a reset.
    const SetBy by = source == SettingsSource::BenchFile ? SetBy::BenchFile : SetBy::Outside;
    if (by == SetBy::BenchFile) {
        state().benchProcess = store_->self();
    }
    if (settings.seed) {
        stand_.setSeed(*settings.seed, by);
    }
    if (settings.virtualTime) {
        clock_.setVirtual(*settings.virtualTime);
    }
    if (settings.holdJoystick) {
        stand_.holdJoystick(*settings.holdJoystick, by);
    } else if (settings.releaseJoystick) {
        stand_.releaseJoystick(by);
    }
    if (settings.joystickPath) {
        stand_.setJoystickPath(settings.joystickPath->points, settings.joystickPath->period, by);
    }
    if (settings.joystickNoise) {
        stand_.setJoystickNoise(*settings.joystickNoise, by);
    }
    for (const SwitchSetting &change : settings.switches) {
        stand_.setSwitch(change.number, change.mode, by);
    }
    for (const InputLineSetting &change : settings.inputLines) {
        for (int line = 0; line < linesPerPort; ++line) {
            if ((change.lineMask >> line) & 1u) {
                stand_.setLine(change.port, line, change.level, by);
            }
        }
    }
    for (const AnalogInputSetting &change : settings.analogInputs) {
        stand_.setAnalogInput(change.channel, change.volts, by);
    }
    for (const Fault &fault : settings.faults) {
        faults_.arm(fault, by == SetBy::BenchFile);
    }
}

} // namespace simboard
