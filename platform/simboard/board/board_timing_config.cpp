// Sample clock and start trigger settings of analog tasks.
#include "board.h"
#include "names/status_codes.h"

#include "daqmx/daqmx.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

namespace simboard {
namespace {

constexpr double maximumInputRate = 1.25e6;
constexpr double maximumOutputRate = 2.86e6;
constexpr int32_t fallingSlope = 10171;

// The driver gives a continuous input at least the buffer its vendor publishes for the
// rate, so a small request does not overflow at a high rate.
uint64_t continuousInputBuffer(double rate, uint64_t requested) {
    uint64_t byRate = rate <= 100.0   ? 1000
                      : rate <= 1.0e4 ? 10000
                      : rate <= 1.0e6 ? 100000
                                      : 1000000;
    return std::max(requested, byRate);
}

Outcome checkSettable(const Task &task) {
    if (!task.channel->isDigital() && !task.running) {
        return {};
    }
    if (task.running) {
        return refuse(status::taskIsRunning, "Task \"" + task.name + "\" is running.");
    }
    return refuse(status::timingNotSupported, "Task \"" + task.name + "\" is digital.");
}

} // namespace

Outcome Board::configureSampleClock(uint64_t id, const char *source, double rate, int32_t edge,
                                    int32_t mode, uint64_t bufferSize) {
    Task *task = nullptr;
    if (Outcome outcome = findTaskWithChannel(id, task); outcome.failed()) {
        return outcome;
    }
    if (Outcome outcome = checkSettable(*task); outcome.failed()) {
        return outcome;
    }
    if (source != nullptr && source[0] != '\0' && strcasecmp(source, "OnboardClock") != 0) {
        return refuse(status::unknownClockTerminal,
                      std::string("Terminal \"") + source + "\" is not a clock source here.");
    }
    double limit = task->channel->isAnalogInput() ? maximumInputRate : maximumOutputRate;
    if (!(rate > 0.0) || !std::isfinite(rate) || rate > limit) {
        char text[160];
        std::snprintf(text, sizeof text, "Rate %g S/s requested; the %s limit is %g S/s.", rate,
                      task->channel->isAnalogInput() ? "analog input" : "analog output", limit);
        return refuse(status::sampleRateTooHigh, text);
    }
    if (edge != DAQmx_Val_Rising || mode != DAQmx_Val_ContSamps) {
        return refuse(status::invalidArgument,
                      "Active edge " + std::to_string(edge) + ", sample mode " +
                          std::to_string(mode) +
                          ": the simulated board runs continuous samples (10123) on the rising "
                          "edge (10280).");
    }
    if (bufferSize == 0) {
        return refuse(status::invalidArgument, "The buffer of 0 samples per channel is empty.");
    }
    if (task->channel->isAnalogInput()) {
        bufferSize = continuousInputBuffer(rate, bufferSize);
    }
    task->clock = SampleClock{rate, bufferSize};
    return {};
}

Outcome Board::configureStartTrigger(uint64_t id, const char *source, int32_t slope, double level) {
    Task *task = nullptr;
    if (Outcome outcome = findTaskWithChannel(id, task); outcome.failed()) {
        return outcome;
    }
    if (Outcome outcome = checkSettable(*task); outcome.failed()) {
        return outcome;
    }
    if (source == nullptr) {
        return refuse(status::invalidTriggerSource, "The trigger source is null.");
    }
    ParsedChannel parsed = parsePhysicalChannels(source);
    if (parsed.outcome.failed()) {
        return parsed.outcome;
    }
    if (parsed.channel.kind != ChannelKind::AnalogInput) {
        return refuse(status::invalidTriggerSource,
                      std::string("\"") + source + "\" is not an analog input.");
    }
    if (slope != DAQmx_Val_RisingSlope && slope != fallingSlope) {
        return refuse(status::invalidTriggerSource, "Slope " + std::to_string(slope) + ".");
    }
    if (!(level >= -10.0 && level <= 10.0)) {
        return refuse(status::invalidTriggerSource, "Level " + std::to_string(level) + " V.");
    }
    task->trigger = StartTrigger{parsed.channel.analogChannel, level, slope != fallingSlope};
    return {};
}

Outcome Board::disableStartTrigger(uint64_t id) {
    Task *task = nullptr;
    if (Outcome outcome = findTaskWithChannel(id, task); outcome.failed()) {
        return outcome;
    }
    if (task->running) {
        return refuse(status::taskIsRunning, "Task \"" + task->name + "\" is running.");
    }
    task->trigger.reset();
    return {};
}

} // namespace simboard
