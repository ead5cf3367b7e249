#include "reservations.h"
#include "names/status_codes.h"
#include "store/dead_process_sweep.h"

#include <algorithm>
#include <string>

namespace simboard {
namespace {

Holding holdingOf(const Task &task, const ProcessId &owner) {
    const TaskChannel &first = *task.channel();
    const PhysicalChannel &physical = first.physical;
    Holding holding;
    holding.owner = owner;
    holding.taskId = task.id;
    size_t length = std::min(task.name.size(), Holding::nameSize - 1);
    std::copy_n(task.name.begin(), length, holding.taskName.begin());
    holding.resource = first.isDigital()       ? Resource::Lines
                       : first.isAnalogInput() ? Resource::AnalogInput
                                               : Resource::AnalogOutput;
    holding.port = static_cast<uint8_t>(physical.port);
    holding.lineMask = physical.lineMask;
    holding.analogChannel = static_cast<uint8_t>(physical.analogChannel);
    for (const TaskChannel &channel : task.channels) {
        if (channel.isAnalogOutput()) {
            holding.analogOutputs |= static_cast<uint8_t>(1u << channel.physical.analogChannel);
        }
    }
    holding.clocked = task.clocked();
    return holding;
}

enum class Need { Nothing, Lines, Converter, AnalogOutput, TimingEngine };

// What `mine` needs that `theirs` holds.
Need conflict(const Holding &mine, const Holding &theirs) {
    if (mine.resource != theirs.resource) {
        return Need::Nothing;
    }
    switch (mine.resource) {
    case Resource::Lines:
        return mine.port == theirs.port && (mine.lineMask & theirs.lineMask) != 0 ? Need::Lines
                                                                                  : Need::Nothing;
    case Resource::AnalogInput:
        return Need::Converter;
    case Resource::AnalogOutput:
        if ((mine.analogOutputs & theirs.analogOutputs) != 0) {
            return Need::AnalogOutput;
        }
        return mine.clocked && theirs.clocked ? Need::TimingEngine : Need::Nothing;
    }
    return Need::Nothing;
}

// Only a refusal spells it out.
std::string describe(Need need, const Holding &mine, const Holding &theirs) {
    switch (need) {
    case Need::Lines:
        return "lines of port " + std::to_string(mine.port);
    case Need::Converter:
        return "the analog input converter";
    case Need::AnalogOutput:
        return "analog output ao" +
               std::to_string((mine.analogOutputs & theirs.analogOutputs & 1u) != 0 ? 0 : 1);
    case Need::TimingEngine:
        return "the analog output timing engine";
    case Need::Nothing:
        break;
    }
    return {};
}

std::string nameOf(const Holding &holding) {
    const auto &name = holding.taskName;
    return {name.begin(), std::find(name.begin(), name.end(), '\0')};
}

} // namespace

Outcome Reservations::reserve(const Task &task, size_t &slot) {
    BoardState &state = store_.state();
    const ProcessId self = store_.self();
    const Holding mine = holdingOf(task, self);
    // Another process may have written the end: it is taken as far as the table goes.
    const size_t end = std::min<size_t>(state.holdingsEnd, BoardState::maxHoldings);
    Holding *freeEntry = end < BoardState::maxHoldings ? &state.holdings[end] : nullptr;
    auto takeFree = [&](Holding &entry) {
        if (freeEntry == nullptr || freeEntry > &entry) {
            freeEntry = &entry;
        }
    };
    for (size_t index = 0; index < end; ++index) {
        Holding &theirs = state.holdings[index];
        if (!theirs.used) {
            takeFree(theirs);
            continue;
        }
        const Need needed = conflict(mine, theirs);
        if (needed == Need::Nothing || (theirs.owner == self && theirs.taskId == task.id)) {
            continue;
        }
        if (dropIfEnded(state, store_, theirs.owner)) {
            takeFree(theirs);
            continue;
        }
        std::string holder = "running task \"" + nameOf(theirs) + "\"";
        if (theirs.owner != self) {
            holder += " of process " + std::to_string(theirs.owner.pid);
        }
        return refuse(status::resourceReserved, "Task \"" + task.name + "\" needs " +
                                                    describe(needed, mine, theirs) + ", held by " +
                                                    holder + ".");
    }
    if (freeEntry == nullptr) {
        return refuse(status::resourceReserved, "Task \"" + task.name + "\": the board runs " +
                                                    std::to_string(BoardState::maxHoldings) +
                                                    " tasks at most.");
    }
    *freeEntry = mine;
    freeEntry->used = true;
    slot = static_cast<size_t>(freeEntry - state.holdings.data());
    state.holdingsEnd = static_cast<uint32_t>(std::max(end, slot + 1));
    return {};
}

void Reservations::release(uint64_t taskId, size_t slot) {
    BoardState &state = store_.state();
    const ProcessId self = store_.self();
    auto mine = [&](const Holding &holding) {
        return holding.used && holding.owner == self && holding.taskId == taskId;
    };
    if (slot < BoardState::maxHoldings && mine(state.holdings[slot])) {
        state.holdings[slot].used = false;
    } else {
        // Not where it was put: let go of it wherever it stands.
        for (Holding &holding : state.holdings) {
            if (mine(holding)) {
                holding.used = false;
            }
        }
    }
    trimHoldings(state);
}

} // namespace simboard
