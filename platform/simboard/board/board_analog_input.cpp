// Analog input: on-demand single samples, and clocked acquisition whose samples are
// computed from the board clock when a read asks for them.  A read that needs samples
// not yet acquired waits for them (real time) or moves the clock to them (virtual time).
#include "board.h"
#include "names/status_codes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace simboard {
namespace {

// A read with an endless timeout in virtual time gives up after this much board time,
// rather than moving the clock forever when a trigger never comes.
constexpr double longestVirtualWait = 60.0;
// How often a read in real time looks again for a start trigger.
constexpr double triggerPollInterval = 0.005;

// The board picks the smallest of its input ranges that holds the channel's limits, and
// a signal beyond it reads as the range limit.
double inputRangeLimit(const TaskChannel &channel) {
    constexpr std::array ranges = {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0};
    double needed = std::max(std::fabs(channel.minimum), std::fabs(channel.maximum));
    for (double range : ranges) {
        if (needed <= range) {
            return range;
        }
    }
    return ranges.back();
}

void saturate(double *samples, uint64_t count, double limit) {
    for (uint64_t i = 0; i < count; ++i) {
        samples[i] = std::clamp(samples[i], -limit, limit);
    }
}

} // namespace

Outcome Board::readAnalog(Lock &lock, uint64_t id, int32_t samples, double timeout, double *data,
                          uint32_t arraySize, int32_t *read) {
    Task *task = nullptr;
    Outcome outcome = findTransferTask(id, task, read);
    if (outcome.failed()) {
        return outcome;
    }
    if (!task->channel->isAnalogInput()) {
        return refuse(status::wrongTaskType,
                      "Analog read on task \"" + task->name + "\", which is no analog input.");
    }
    if (data == nullptr || samples < -1 ||
        (samples != -1 && arraySize < static_cast<uint32_t>(samples))) {
        return refuse(status::invalidArgument,
                      "Read of " + std::to_string(samples) + " samples into an array of " +
                          std::to_string(arraySize) + (data == nullptr ? " (null)." : "."));
    }
    if (!task->clocked()) {
        return readOnDemand(*task, samples, data, arraySize, read);
    }
    bool startedHere = false;
    if ((outcome = autoStart(*task, startedHere)).failed()) {
        return outcome;
    }
    return readClocked(lock, id, samples, timeout, data, arraySize, read);
}

Outcome Board::readOnDemand(Task &task, int32_t samples, double *data, uint32_t arraySize,
                            int32_t *read) {
    if ((samples != 1 && samples != -1) || arraySize < 1) {
        return refuse(status::invalidArgument,
                      std::to_string(samples) +
                          " samples per channel: a task without a sample clock reads one.");
    }
    bool startedHere = false;
    if (Outcome outcome = autoStart(task, startedHere); outcome.failed()) {
        return outcome;
    }
    data[0] = stand_.analogInputAt(task.channel->physical.analogChannel, clock_.now());
    saturate(data, 1, inputRangeLimit(*task.channel));
    if (read != nullptr) {
        *read = 1;
    }
    finishAutoStart(task, startedHere);
    return {};
}

void Board::fillAcquired(Task &task, uint64_t count, double *out) {
    stand_.fillAnalogInput(task.channel->physical.analogChannel, task.timeline.times(),
                           task.readPosition, count, out);
    saturate(out, count, inputRangeLimit(*task.channel));
    task.readPosition += count;
}

Outcome Board::readClocked(Lock &lock, uint64_t id, int32_t samples, double timeout, double *data,
                           uint32_t arraySize, int32_t *read) {
    bool allAvailable = samples == -1;
    uint64_t wanted = allAvailable ? arraySize : static_cast<uint64_t>(samples);
    double now = clock_.now();
    double deadline = timeout >= 0.0       ? now + timeout
                      : clock_.isVirtual() ? now + longestVirtualWait
                                           : std::numeric_limits<double>::infinity();
    uint64_t got = 0;
    while (true) {
        Task *task = tasks_.find(id);
        if (task == nullptr) {
            return refuse(status::invalidTask, "The task was cleared while a read waited.");
        }
        if (!task->running) {
            return refuse(status::readAborted, "Task \"" + task->name + "\".");
        }
        now = clock_.now();
        SampleTimeline &timeline = task->timeline;
        timeline.resolveStart(now, stand_);
        uint64_t unread = timeline.producedBy(now) - task->readPosition;
        if (task->overwritten || unread > task->clock->bufferSize) {
            task->overwritten = true;
            return refuse(status::samplesOverwritten,
                          "Task \"" + task->name + "\": more than " +
                              std::to_string(task->clock->bufferSize) +
                              " samples were acquired before they were read.");
        }
        uint64_t take = std::min(unread, wanted - got);
        fillAcquired(*task, take, data + got);
        got += take;
        if (read != nullptr) {
            *read = static_cast<int32_t>(got);
        }
        if (got == wanted || allAvailable) {
            return {};
        }
        if (now >= deadline) {
            return refuse(status::readTimeout, "Task \"" + task->name +
                                                   "\": " + std::to_string(got) + " of " +
                                                   std::to_string(wanted) + " samples within " +
                                                   std::to_string(timeout) + " s.");
        }
        if (clock_.isVirtual()) {
            timeline.resolveStart(deadline, stand_);
        }
        // Wake when the rest is there, or when the buffer is full if it holds less.
        double needed = now + triggerPollInterval;
        if (timeline.started()) {
            uint64_t batch = std::min(wanted - got, task->clock->bufferSize);
            needed = timeline.times().at(task->readPosition + batch - 1);
        } else if (clock_.isVirtual()) {
            needed = deadline;
        }
        needed = std::min(needed, deadline);
        if (clock_.isVirtual()) {
            clock_.advanceTo(needed);
        } else if (Outcome retaken = waitUntil(lock, needed, lockPatienceFor(deadline - needed));
                   retaken.failed()) {
            return retaken;
        }
    }
}

} // namespace simboard
