// One task of the board: its channel, its timing and trigger settings, and the state of
// a running acquisition or generation.
#ifndef PLATFORM_SIMBOARD_BOARD_TASK_H
#define PLATFORM_SIMBOARD_BOARD_TASK_H

#include "names/channel_names.h"
#include "stand/sample_timeline.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simboard {

enum class Direction { Input, Output };

struct TaskChannel {
    PhysicalChannel physical;
    Direction direction = Direction::Input;
    double minimum = -10.0; // analog only
    double maximum = 10.0;

    bool isDigital() const { return physical.kind == ChannelKind::Digital; }
    bool isAnalogInput() const { return physical.kind == ChannelKind::AnalogInput; }
    bool isAnalogOutput() const { return physical.kind == ChannelKind::AnalogOutput; }
};

struct SampleClock {
    double rate = 1000.0;
    uint64_t bufferSize = 0; // samples per channel the buffer holds, as the driver sized it
};

struct Task {
    uint64_t id = 0;
    std::string name;
    std::optional<TaskChannel> channel;
    std::optional<SampleClock> clock;
    std::optional<StartTrigger> trigger;
    bool running = false;

    SampleTimeline timeline;
    // Acquisition: the next sample to hand out, and whether unread samples were lost.
    uint64_t readPosition = 0;
    bool overwritten = false;
    // Generation: the samples regenerated in a loop, first played at tick waveformOrigin.
    std::vector<double> waveform;
    uint64_t waveformOrigin = 0;

    bool clocked() const { return clock.has_value(); }
};

} // namespace simboard

#endif
