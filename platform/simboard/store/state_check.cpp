#include "state_check.h"

#include <algorithm>
#include <cstring>

namespace simboard {
namespace {

// The byte behind a bool or an enumeration as it lies in memory, so that a value no
// compiled code writes can be seen.
template <class Value> uint8_t rawByte(const Value &value) {
    static_assert(sizeof(Value) == 1);
    uint8_t byte = 0;
    std::memcpy(&byte, &value, 1);
    return byte;
}

bool validProcess(const ProcessId &process) {
    return process.pid > 0 || (process.pid == 0 && process.startTime == 0);
}

bool validHolding(const Holding &holding) {
    const uint8_t used = rawByte(holding.used);
    if (used == 0) {
        return true;
    }
    return used == 1 && holding.owner.pid > 0 && rawByte(holding.clocked) <= 1 &&
           rawByte(holding.resource) <= static_cast<uint8_t>(Resource::AnalogOutput) &&
           holding.port < portCount && holding.analogChannel < analogInputCount &&
           holding.analogOutputs < (1u << analogOutputCount);
}

bool validSetters(const std::array<SetBy, standSetting::count> &setters) {
    return std::all_of(setters.begin(), setters.end(), [](SetBy by) {
        return rawByte(by) <= static_cast<uint8_t>(SetBy::BenchFile);
    });
}

bool validStand(const StandLayers &stand) {
    for (const StandSettings *layer : {&stand.current, &stand.outside}) {
        for (SwitchMode mode : layer->switches) {
            if (rawByte(mode) > static_cast<uint8_t>(SwitchMode::Released)) {
                return false;
            }
        }
    }
    return validSetters(stand.currentSetBy) && validSetters(stand.outsideSetBy);
}

} // namespace

std::string stateDamage(const BoardState &state) {
    if (!std::all_of(state.processes.begin(), state.processes.end(), validProcess) ||
        !validProcess(state.benchProcess)) {
        return "has a damaged process table";
    }
    if (!std::all_of(state.holdings.begin(), state.holdings.end(), validHolding) ||
        state.holdingsEnd > BoardState::maxHoldings ||
        std::any_of(state.holdings.begin() + state.holdingsEnd, state.holdings.end(),
                    [](const Holding &holding) { return holding.used; })) {
        return "has a damaged table of running tasks";
    }
    if (state.faults.count > FaultTable::capacity) {
        return "has a damaged table of armed faults";
    }
    if (!validStand(state.stand)) {
        return "has damaged stand settings";
    }
    return {};
}

} // namespace simboard
