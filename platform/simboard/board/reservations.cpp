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

// What `mine` needs that `theirs` holds, or empty.
std::string conflict(const Holding &mine, const Holding &theirs) {
    if (mine.resource != theirs.resource) {
        return {};
    }
    switch (mine.resource) {
    case Resource::Lines:
        if (mine.port == theirs.port && (mine.lineMask & theirs.lineMask) != 0) {
            return "lines of port " + std::to_string(mine.port);
        }
        return {};
    case Resource::AnalogInput:
        return "the analog input converter";
    case Resource::AnalogOutput:
        if (uint8_t both = mine.analogOutputs & theirs.analogOutputs; both != 0) {
            return "analog output ao" + std::to_string((both & 1u) != 0 ? 0 : 1);
        }
        return mine.clocked && theirs.clocked ? "the analog output timing engine" : "";
    }
    return {};
}

std::string nameOf(const Holding &holding) {
    const auto &name = holding.taskName;
    return {name.begin(), std::find(name.begin(), name.end(), '\0')};
}

} // namespace

Outcome Reservations::reserve(const Task &task) {
    BoardState &state = store_.state();
    const ProcessId self = store_.self();
    const Holding mine = holdingOf(task, self);
    Holding *freeEntry = nullptr;
    for (Holding &theirs : state.holdings) {
        if (!theirs.used) {
            freeEntry = freeEntry != nullptr ? freeEntry : &theirs;
            continue;
        }
        std::string needed = conflict(mine, theirs);
        if (needed.empty() || (theirs.owner == self && theirs.taskId == task.id)) {
            continue;
        }
        if (dropIfEnded(state, store_, theirs.owner)) {
            freeEntry = freeEntry != nullptr ? freeEntry : &theirs;
            continue;
        }
        std::string holder = "running task \"" + nameOf(theirs) + "\"";
        if (theirs.owner != self) {
            holder += " of process " + std::to_string(theirs.owner.pid);
        }
        return refuse(status::resourceReserved,
                      "Task \"" + task.name + "\" needs " + needed + ", held by " + holder + ".");
    }
    if (freeEntry == nullptr) {
        return refuse(status::resourceReserved, "Task \"" + task.name + "\": the board runs " +
                                                    std::to_string(BoardState::maxHoldings) +
                                                    " tasks at most.");
    }
    *freeEntry = mine;
    freeEntry->used = true;
    return {};
}

void Reservations::release(uint64_t taskId) {
    const ProcessId self = store_.self();
    for (Holding &holding : store_.state().holdings) {
        if (holding.used && holding.owner == self && holding.taskId == taskId) {
            holding.used = false;
        }
    }
}

} // namespace simboard
