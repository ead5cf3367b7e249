#include "analog_channels.h"
#include "names/status_codes.h"

#include "daqmx/daqmx.h"

#include <string>

namespace simboard {
namespace {

constexpr int32_t defaultTerminal = -1;
constexpr int differentialPairs = 8;

std::string nameOf(const TaskChannel &channel) {
    return (channel.isAnalogInput() ? "ai" : "ao") + std::to_string(channel.physical.analogChannel);
}

// The inputs a channel occupies: its own, and its partner when differential.
bool occupies(const TaskChannel &channel, int input) {
    int own = channel.physical.analogChannel;
    return own == input || (channel.isAnalogInput() && channel.terminal == Terminal::Differential &&
                            differentialPartner(own) == input);
}

std::string clash(const TaskChannel &existing, const TaskChannel &channel) {
    int own = channel.physical.analogChannel;
    if (existing.physical.analogChannel == own) {
        return nameOf(channel) + " is in the task already";
    }
    if (occupies(existing, own)) {
        return nameOf(channel) + " is the partner of differential channel " + nameOf(existing);
    }
    if (occupies(channel, existing.physical.analogChannel)) {
        return "differential " + nameOf(channel) + " needs ai" +
               std::to_string(differentialPartner(own)) + ", which is in the task as a channel";
    }
    return {};
}

} // namespace

Outcome terminalFromDriver(int32_t config, Terminal &terminal) {
    switch (config) {
    case defaultTerminal:
    case DAQmx_Val_RSE:
        terminal = Terminal::Referenced;
        return {};
    case DAQmx_Val_NRSE:
        terminal = Terminal::NonReferenced;
        return {};
    case DAQmx_Val_Diff:
        terminal = Terminal::Differential;
        return {};
    default:
        return refuse(status::invalidArgument,
                      "Terminal configuration " + std::to_string(config) +
                          ": the board takes RSE (10083), NRSE (10078), differential (10106) or "
                          "the default (-1, RSE).");
    }
}

Outcome checkAddedChannel(const Task &task, const std::vector<TaskChannel> &added,
                          const TaskChannel &channel) {
    if (channel.isAnalogInput() && channel.terminal == Terminal::Differential &&
        channel.physical.analogChannel >= differentialPairs) {
        return refuse(status::invalidArgument,
                      nameOf(channel) +
                          " cannot be a differential channel: only ai0 to ai7 are, each against "
                          "the input 8 above it.");
    }
    for (const std::vector<TaskChannel> *channels : {&task.channels, &added}) {
        for (const TaskChannel &existing : *channels) {
            if (std::string why = clash(existing, channel); !why.empty()) {
                return refuse(status::taskAlreadyHasChannel,
                              "Task \"" + task.name + "\": " + why + ".");
            }
        }
    }
    return {};
}

} // namespace simboard
