// Sample clock and start trigger settings of analog tasks, and the timing properties.
#include "analog/input_conversion.h"
#include "board.h"
#include "names/status_codes.h"

#include "daqmx/daqmx.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace simboard {
namespace {

constexpr double maximumInputRate = 1.25e6;
// Several channels share the converter: this is the rate of all of them together.
constexpr double maximumScanRate = 1.0e6;
constexpr double maximumOutputRate = 2.86e6;
constexpr const char *inputSampleClock = "/PXI1Slot2/ai/SampleClock";
constexpr const char *inputStartTrigger = "/PXI1Slot2/ai/StartTrigger";
constexpr int pfiLinesPerPort = 8;
constexpr int firstPfiPort = 1;
constexpr int pfiCount = 16;

// A terminal name as the driver takes it: the leading '/' may be left out.
bool isTerminal(const char *source, const char *terminal) {
    return strcasecmp(source, terminal) == 0 || strcasecmp(source, terminal + 1) == 0;
}

// "/PXI1Slot2/PFI4" is port 1 line 4: PFI0..7 are port 1, PFI8..15 port 2.
bool parsePfi(const char *source, StartTrigger &trigger) {
    const char *name = source[0] == '/' ? source + 1 : source;
    const size_t deviceLength = std::strlen(boardDeviceName);
    if (strncasecmp(name, boardDeviceName, deviceLength) != 0 ||
        strncasecmp(name + deviceLength, "/PFI", 4) != 0) {
        return false;
    }
    const char *digits = name + deviceLength + 4;
    size_t length = std::strlen(digits);
    if (length == 0 || length > 2 || !std::all_of(digits, digits + length, [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return false;
    }
    int number = std::atoi(digits);
    if (number >= pfiCount || (length == 2 && digits[0] == '0')) {
        return false;
    }
    trigger.source = TriggerSource::Line;
    trigger.port = firstPfiPort + number / pfiLinesPerPort;
    trigger.line = number % pfiLinesPerPort;
    trigger.level = 0.5;
    return true;
}

// The driver gives a continuous input at least the buffer its vendor publishes for the
// rate, so a small request does not overflow at a high rate.
uint64_t continuousInputBuffer(double rate, uint64_t requested) {
    uint64_t byRate = rate <= 100.0   ? 1000
                      : rate <= 1.0e4 ? 10000
                      : rate <= 1.0e6 ? 100000
                                      : 1000000;
    return std::max(requested, byRate);
}

std::string formatRate(const char *format, double value) {
    char text[128]; // the longest format and the widest %g with room to spare
    std::snprintf(text, sizeof text, format, value);
    return text;
}

Outcome checkSettable(const Task &task) {
    if (!task.channel()->isDigital() && !task.running) {
        return {};
    }
    if (task.running) {
        return refuse(status::taskIsRunning, "Task \"" + task.name + "\" is running.");
    }
    return refuse(status::timingNotSupported, "Task \"" + task.name + "\" is digital.");
}

} // namespace

Outcome Board::checkInputRate(const Task &task, double rate) const {
    size_t channels = task.channels.size();
    double limit = channels == 1 ? maximumInputRate : maximumScanRate;
    if (rate * static_cast<double>(channels) <= limit) {
        return {};
    }
    std::string text = formatRate("Rate %g S/s", rate);
    if (channels == 1) {
        text += formatRate(" requested; the analog input limit is %g S/s.", limit);
    } else {
        text += " on " + std::to_string(channels) + " channels is " +
                formatRate("%g MS/s in all; ", rate * static_cast<double>(channels) / 1e6) +
                formatRate("the analog input limit for several channels is %g MS/s in all.",
                           limit / 1e6);
    }
    return refuse(status::sampleRateTooHigh, text);
}

Outcome Board::configureSampleClock(uint64_t id, const char *source, double rate, int32_t edge,
                                    int32_t mode, uint64_t bufferSize) {
    Task *task = nullptr;
    if (Outcome outcome = findTaskWithChannel(id, task); outcome.failed()) {
        return outcome;
    }
    if (Outcome outcome = checkSettable(*task); outcome.failed()) {
        return outcome;
    }
    bool input = task->channel()->isAnalogInput();
    bool followsInputClock = !input && source != nullptr && isTerminal(source, inputSampleClock);
    if (source != nullptr && source[0] != '\0' && strcasecmp(source, "OnboardClock") != 0 &&
        !followsInputClock) {
        return refuse(status::unknownClockTerminal,
                      std::string("Terminal \"") + source + "\" is not a clock source here.");
    }
    if (!(rate > 0.0) || !std::isfinite(rate) || (!input && rate > maximumOutputRate)) {
        return refuse(status::sampleRateTooHigh,
                      formatRate("Rate %g S/s requested; ", rate) +
                          formatRate(input ? "the analog input limit is %g S/s."
                                           : "the analog output limit is %g S/s.",
                                     input ? maximumInputRate : maximumOutputRate));
    }
    if (input) {
        if (Outcome outcome = checkInputRate(*task, rate); outcome.failed()) {
            return outcome;
        }
    }
    if (edge != DAQmx_Val_Rising ||
        (mode != DAQmx_Val_ContSamps && mode != DAQmx_Val_FiniteSamps)) {
        return refuse(status::invalidArgument,
                      "Active edge " + std::to_string(edge) + ", sample mode " +
                          std::to_string(mode) +
                          ": the simulated board runs continuous (10123) or finite (10178) "
                          "samples on the rising edge (10280).");
    }
    if (bufferSize == 0) {
        return refuse(status::invalidArgument, "The buffer of 0 samples per channel is empty.");
    }
    SampleClock clock{rate, bufferSize, std::nullopt, followsInputClock};
    if (mode == DAQmx_Val_FiniteSamps) {
        clock.finiteSamples = bufferSize;
    } else if (input) {
        clock.bufferSize = continuousInputBuffer(rate, bufferSize);
    }
    task->clock = clock;
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
    if (parsed.channel.kind != ChannelKind::AnalogInput || parsed.analogChannels.size() != 1) {
        return refuse(status::invalidTriggerSource,
                      std::string("\"") + source + "\" is not one analog input.");
    }
    if (slope != DAQmx_Val_RisingSlope && slope != DAQmx_Val_FallingSlope) {
        return refuse(status::invalidTriggerSource, "Slope " + std::to_string(slope) + ".");
    }
    if (!(level >= -10.0 && level <= 10.0)) {
        return refuse(status::invalidTriggerSource, "Level " + std::to_string(level) + " V.");
    }
    StartTrigger trigger;
    trigger.channel = parsed.channel.analogChannel;
    trigger.level = level;
    trigger.rising = slope != DAQmx_Val_FallingSlope;
    task->trigger = trigger;
    return {};
}

Outcome Board::configureDigitalStartTrigger(uint64_t id, const char *source, int32_t edge) {
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
    if (edge != DAQmx_Val_Rising && edge != DAQmx_Val_Falling) {
        return refuse(status::invalidTriggerSource, "Edge " + std::to_string(edge) + ".");
    }
    StartTrigger trigger;
    trigger.rising = edge == DAQmx_Val_Rising;
    if (isTerminal(source, inputStartTrigger) && task->channel()->isAnalogOutput()) {
        trigger.source = TriggerSource::InputStart;
    } else if (!parsePfi(source, trigger)) {
        return refuse(status::invalidTriggerSource,
                      std::string("\"") + source +
                          "\" is not a digital trigger source here: /PXI1Slot2/PFI0 to PFI15, "
                          "or /PXI1Slot2/ai/StartTrigger for an analog output.");
    }
    task->trigger = trigger;
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

namespace simboard {

Outcome Board::sampleClockRate(uint64_t id, double *rate) {
    Task *task = nullptr;
    if (Outcome outcome = findTaskWithChannel(id, task); outcome.failed()) {
        return outcome;
    }
    if (rate == nullptr || !task->clocked()) {
        return refuse(status::invalidArgument,
                      rate == nullptr ? "The place for the rate is null."
                                      : "Task \"" + task->name + "\" has no sample clock.");
    }
    // The simulated clock runs any rate exactly; a follower runs at its input's rate.
    *rate =
        task->running && task->timeline.started() ? task->timeline.times().rate : task->clock->rate;
    return {};
}

Outcome Board::convertRate(uint64_t id, double *rate) {
    Task *task = nullptr;
    if (Outcome outcome = findInputTask(id, task); outcome.failed()) {
        return outcome;
    }
    if (rate == nullptr) {
        return refuse(status::invalidArgument, "The place for the rate is null.");
    }
    *rate = 1.0 / convertInterval;
    return {};
}

Outcome Board::acquiredPerChannel(uint64_t id, uint64_t *count) {
    Task *task = nullptr;
    if (Outcome outcome = findInputTask(id, task); outcome.failed()) {
        return outcome;
    }
    if (count == nullptr) {
        return refuse(status::invalidArgument, "The place for the count is null.");
    }
    *count = task->running && task->clocked() ? acquired(*task, clock_.now()) : task->readPosition;
    return {};
}

} // namespace simboard
