// One task of the board: its channels (all of one kind), its timing and trigger settings,
// and the state of a running acquisition or generation.
#ifndef PLATFORM_SIMBOARD_BOARD_TASK_H
#define PLATFORM_SIMBOARD_BOARD_TASK_H

#include "names/channel_names.h"
#include "stand/sample_timeline.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simboard {

enum class Direction { Input, Output };

// How an analog input is measured: against ground (the stand ties AI SENSE to ground, so
// NRSE reads the same), or input n against input n+8.
enum class Terminal { Referenced, NonReferenced, Differential };

struct TaskChannel {
    PhysicalChannel physical;
    Direction direction = Direction::Input;
    double minimum = -10.0; // analog only
    double maximum = 10.0;
    Terminal terminal = Terminal::Referenced; // analog input only
    double range = 10.0;                      // analog input: the board range measured in

    bool isDigital() const { return physical.kind == ChannelKind::Digital; }
    bool isAnalogInput() const { return physical.kind == ChannelKind::AnalogInput; }
    bool isAnalogOutput() const { return physical.kind == ChannelKind::AnalogOutput; }
};

struct SampleClock {
    double rate = 1000.0;
    uint64_t bufferSize = 0; // samples per channel the buffer holds, as the driver sized it
    std::optional<uint64_t> finiteSamples; // per channel; none: continuous
    // An output clocked by the analog input's sample clock: one sample per scan.
    bool followsInputClock = false;
};

struct Task {
    uint64_t id = 0;
    std::string name;
    std::vector<TaskChannel> channels;
    std::optional<SampleClock> clock;
    std::optional<StartTrigger> trigger;
    bool running = false;
    // Where its reservation stands in the board's table while it runs.
    size_t holdingSlot = 0;

    SampleTimeline timeline;
    // Acquisition: the next sample to hand out, and whether unread samples were lost.
    uint64_t readPosition = 0;
    bool overwritten = false;
    // Generation: the samples regenerated in a loop, first played at tick waveformOrigin;
    // grouped by channel, waveformLength samples each.
    std::vector<double> waveform;
    uint64_t waveformLength = 0;
    uint64_t waveformOrigin = 0;

    bool clocked() const { return clock.has_value(); }
    // The first channel, which tells the task's kind; null while it has none.
    const TaskChannel *channel() const { return channels.empty() ? nullptr : &channels.front(); }
    // An output whose start waits for the start of an analog input task of the process.
    bool followsInput() const {
        return (clock && clock->followsInputClock) ||
               (trigger && trigger->source == TriggerSource::InputStart);
    }
};

} // namespace simboard

#endif
