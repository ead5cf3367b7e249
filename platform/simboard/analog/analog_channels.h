// The rules for the analog channels of one task: what a channel is created with, and
// which channels may stand beside each other in a task.
#ifndef PLATFORM_SIMBOARD_ANALOG_ANALOG_CHANNELS_H
#define PLATFORM_SIMBOARD_ANALOG_ANALOG_CHANNELS_H

#include "board/task.h"
#include "names/outcome.h"

#include <cstdint>
#include <vector>

namespace simboard {

// The settings every channel of one create call gets.
struct AnalogLimits {
    Direction direction = Direction::Input;
    Terminal terminal = Terminal::Referenced;
    double minimum = -10.0;
    double maximum = 10.0;
    int32_t units = 0;
    const char *customScale = nullptr;
};

// The driver's terminal configuration constant as the board's; refused when unknown.
Outcome terminalFromDriver(int32_t config, Terminal &terminal);

// Whether `channel` may join `task`, whose channels are followed by `added` of the same
// call: no input twice, a differential input only on ai0..7, and neither half of a
// differential pair again in another channel.
Outcome checkAddedChannel(const Task &task, const std::vector<TaskChannel> &added,
                          const TaskChannel &channel);

// The input read against a differential channel's input.
inline int differentialPartner(int input) {
    return input + 8;
}

} // namespace simboard

#endif
