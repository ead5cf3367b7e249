// Creating tasks and their channels, and starting, stopping and clearing them.
#include "analog/analog_channels.h"
#include "analog/input_conversion.h"
#include "board.h"
#include "names/status_codes.h"

#include "daqmx/daqmx.h"

#include <cmath>

namespace simboard {
namespace {

constexpr double boardRangeVolts = 10.0;

Outcome parseForKind(const char *name, ChannelKind expected, ParsedChannel &parsed) {
    if (name == nullptr) {
        return refuse(status::invalidArgument, "The physical channel name is null.");
    }
    parsed = parsePhysicalChannels(name);
    if (parsed.outcome.failed()) {
        return parsed.outcome;
    }
    if (parsed.channel.kind != expected) {
        return refuse(status::channelKindMismatch,
                      std::string("Physical channel \"") + name + "\" is of another type.");
    }
    return {};
}

Outcome checkVoltageRange(double minimum, double maximum) {
    if (!(minimum < maximum) || !std::isfinite(minimum) || !std::isfinite(maximum) ||
        minimum < -boardRangeVolts || maximum > boardRangeVolts) {
        return refuse(status::valueOutOfRange, "Channel limits " + std::to_string(minimum) +
                                                   " V to " + std::to_string(maximum) +
                                                   " V are not within -10 V to +10 V.");
    }
    return {};
}

} // namespace

Outcome Board::createTask(const char *name, uint64_t &id) {
    return tasks_.create(name == nullptr ? "" : name, id);
}

Outcome Board::startTask(uint64_t id) {
    Task *task = nullptr;
    Outcome outcome = findTaskWithChannel(id, task);
    return outcome.failed() ? outcome : start(*task);
}

Outcome Board::stopTask(uint64_t id) {
    Task *task = nullptr;
    Outcome outcome = findTask(id, task);
    if (!outcome.failed()) {
        stop(*task);
    }
    return outcome;
}

Outcome Board::clearTask(uint64_t id) {
    Task *task = nullptr;
    Outcome outcome = findTask(id, task);
    if (!outcome.failed()) {
        stop(*task);
        tasks_.remove(id);
    }
    return outcome;
}

Outcome Board::createDigitalChannel(uint64_t id, const char *lines, int32_t grouping,
                                    Direction direction) {
    Task *task = nullptr;
    if (Outcome outcome = findTask(id, task); outcome.failed()) {
        return outcome;
    }
    if (task->channel()) {
        return refuse(status::taskAlreadyHasChannel, "Task \"" + task->name + "\".");
    }
    if (grouping != DAQmx_Val_ChanForAllLines) {
        return refuse(status::invalidArgument,
                      "Line grouping " + std::to_string(grouping) +
                          ": the board takes one channel for all lines (1).");
    }
    ParsedChannel parsed;
    if (Outcome outcome = parseForKind(lines, ChannelKind::Digital, parsed); outcome.failed()) {
        return outcome;
    }
    task->channels.push_back(TaskChannel{parsed.channel, direction, 0.0, 0.0});
    return {};
}

Outcome Board::createAnalogChannel(uint64_t id, const char *name, const AnalogLimits &limits) {
    Task *task = nullptr;
    if (Outcome outcome = findTask(id, task); outcome.failed()) {
        return outcome;
    }
    if (task->running) {
        return refuse(status::taskIsRunning, "Task \"" + task->name + "\" is running.");
    }
    if (limits.units != DAQmx_Val_Volts ||
        (limits.customScale != nullptr && limits.customScale[0] != '\0')) {
        return refuse(status::invalidArgument, "Units " + std::to_string(limits.units) +
                                                   ": the board measures in volts (10348) "
                                                   "without a custom scale.");
    }
    if (Outcome outcome = checkVoltageRange(limits.minimum, limits.maximum); outcome.failed()) {
        return outcome;
    }
    ChannelKind kind =
        limits.direction == Direction::Input ? ChannelKind::AnalogInput : ChannelKind::AnalogOutput;
    if (const TaskChannel *first = task->channel();
        first != nullptr && first->physical.kind != kind) {
        return refuse(status::taskAlreadyHasChannel,
                      "Task \"" + task->name +
                          "\" holds channels of another kind; a task is of one kind: analog "
                          "input, analog output or digital.");
    }
    ParsedChannel parsed;
    if (Outcome outcome = parseForKind(name, kind, parsed); outcome.failed()) {
        return outcome;
    }
    std::vector<TaskChannel> added;
    for (int number : parsed.analogChannels) {
        TaskChannel channel{{kind, 0, 0, number}, limits.direction, limits.minimum, limits.maximum};
        channel.terminal = limits.terminal;
        channel.range = inputRangeFor(limits.minimum, limits.maximum);
        if (Outcome outcome = checkAddedChannel(*task, added, channel); outcome.failed()) {
            return outcome;
        }
        added.push_back(channel);
    }
    task->channels.insert(task->channels.end(), added.begin(), added.end());
    return {};
}

} // namespace simboard
