// Analog input: on-demand single scans, and clocked acquisition whose samples are computed
// from the board clock when a read asks for them.  A read that needs samples not yet
// acquired waits for them (real time) or moves the clock to them (virtual time).
#include "analog/input_conversion.h"
#include "board.h"
#include "names/status_codes.h"

#include "daqmx/daqmx.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace simboard {
namespace {

// A read with an endless timeout in virtual time gives up after this much board time,
// rather than moving the clock forever when a trigger never comes.
constexpr double longestVirtualWait = 60.0;
// How often a read in real time looks again for a start trigger.
constexpr double triggerPollInterval = 0.005;
// Scans converted at a time: the scratch of one channel stays in the cache.
constexpr size_t scansPerBatch = 2048;

} // namespace

Outcome Board::readAnalog(Lock &lock, uint64_t id, int32_t samples, double timeout, double *data,
                          uint32_t arraySize, int32_t layout, int32_t *read) {
    Task *task = nullptr;
    Outcome outcome = findTransferTask(id, task, read);
    if (outcome.failed()) {
        return outcome;
    }
    if (!task->channel()->isAnalogInput()) {
        return refuse(status::wrongTaskType,
                      "Analog read on task \"" + task->name + "\", which is no analog input.");
    }
    const uint64_t channels = task->channels.size();
    if (data == nullptr || samples < -1 ||
        (samples != -1 && arraySize < static_cast<uint64_t>(samples) * channels)) {
        return refuse(status::invalidArgument,
                      "Read of " + std::to_string(samples) + " samples per channel of " +
                          std::to_string(channels) + " channels into an array of " +
                          std::to_string(arraySize) + (data == nullptr ? " (null)." : "."));
    }
    if (layout != DAQmx_Val_GroupByChannel && layout != DAQmx_Val_GroupByScanNumber) {
        return refuse(status::invalidArgument, "Fill mode " + std::to_string(layout) +
                                                   ": group by channel (0) or by scan number (1).");
    }
    if (!task->clocked()) {
        return readOnDemand(*task, samples, data, arraySize, read);
    }
    bool startedHere = false;
    if ((outcome = autoStart(*task, startedHere)).failed()) {
        return outcome;
    }
    ScanRead scan{samples, timeout, data, arraySize, layout == DAQmx_Val_GroupByScanNumber};
    return readClocked(lock, id, scan, read);
}

Outcome Board::readOnDemand(Task &task, int32_t samples, double *data, uint32_t arraySize,
                            int32_t *read) {
    if ((samples != 1 && samples != -1) || arraySize < task.channels.size()) {
        return refuse(status::invalidArgument,
                      std::to_string(samples) + " samples per channel into an array of " +
                          std::to_string(arraySize) +
                          ": a task without a sample clock reads one of each channel.");
    }
    bool startedHere = false;
    if (Outcome outcome = autoStart(task, startedHere); outcome.failed()) {
        return outcome;
    }
    // One scan: a single sample of each channel.
    convertScans(task, SampleTimes{clock_.now(), 1.0}, 0, 1, ScanLayout{data, 1, false});
    if (read != nullptr) {
        *read = 1;
    }
    finishAutoStart(task, startedHere);
    return {};
}

void Board::convertScans(const Task &task, SampleTimes times, uint64_t first, size_t count,
                         ScanLayout layout) {
    const size_t channels = task.channels.size();
    scratch_.resize(std::min(count, scansPerBatch) * 2);
    double *partner = scratch_.data() + std::min(count, scansPerBatch);
    for (size_t done = 0; done < count;) {
        size_t batch = std::min(count - done, scansPerBatch);
        for (size_t k = 0; k < channels; ++k) {
            const TaskChannel &channel = task.channels[k];
            // Channel k of a scan is converted k steps of the convert clock after the first.
            SampleTimes shifted{times.start + static_cast<double>(k) * convertInterval, times.rate};
            double *out = layout.byScan ? scratch_.data()
                                        : layout.data + k * layout.stride + layout.offset + done;
            int input = channel.physical.analogChannel;
            stand_.fillAnalogInput(input, shifted, first + done, batch, out);
            if (channel.terminal == Terminal::Differential) {
                stand_.fillAnalogInput(differentialPartner(input), shifted, first + done, batch,
                                       partner);
                for (size_t i = 0; i < batch; ++i) {
                    out[i] -= partner[i];
                }
            }
            convert(out, batch, channel.range);
            if (layout.byScan) {
                double *scan = layout.data + (layout.offset + done) * channels + k;
                for (size_t i = 0; i < batch; ++i) {
                    scan[i * channels] = out[i];
                }
            }
        }
        done += batch;
    }
}

Outcome Board::readClocked(Lock &lock, uint64_t id, const ScanRead &scan, int32_t *read) {
    Task *task = tasks_.find(id);
    const uint64_t channels = task->channels.size();
    bool allAvailable = scan.samples == -1;
    uint64_t wanted =
        allAvailable ? scan.arraySize / channels : static_cast<uint64_t>(scan.samples);
    if (const auto &finite = task->clock->finiteSamples;
        finite && !allAvailable && task->readPosition + wanted > *finite) {
        return refuse(status::readBeyondFinalSample,
                      "Task \"" + task->name + "\": " + std::to_string(wanted) +
                          " samples per channel asked for, " +
                          std::to_string(*finite - task->readPosition) + " of its " +
                          std::to_string(*finite) + " left.");
    }
    double now = clock_.now();
    double deadline = scan.timeout >= 0.0  ? now + scan.timeout
                      : clock_.isVirtual() ? now + longestVirtualWait
                                           : std::numeric_limits<double>::infinity();
    uint64_t got = 0;
    while (true) {
        task = tasks_.find(id);
        if (task == nullptr) {
            return refuse(status::invalidTask, "The task was cleared while a read waited.");
        }
        if (!task->running) {
            return refuse(status::readAborted, "Task \"" + task->name + "\".");
        }
        now = clock_.now();
        uint64_t unread = acquired(*task, now) - task->readPosition;
        if (task->overwritten || unread > task->clock->bufferSize) {
            task->overwritten = true;
            return refuse(status::samplesOverwritten,
                          "Task \"" + task->name + "\": more than " +
                              std::to_string(task->clock->bufferSize) +
                              " samples were acquired before they were read.");
        }
        uint64_t take = std::min(unread, wanted - got);
        // Reading all that is there fills its array as if that many had been asked for.
        uint64_t stride = allAvailable ? take : wanted;
        convertScans(*task, task->timeline.times(), task->readPosition, take,
                     ScanLayout{scan.data, stride, scan.byScan, got});
        task->readPosition += take;
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
                                                   std::to_string(scan.timeout) + " s.");
        }
        SampleTimeline &timeline = task->timeline;
        if (clock_.isVirtual()) {
            timeline.resolveStart(deadline, stand_);
        }
        // Wake when the rest is there, or when the buffer is full if it holds less.
        double needed = now + triggerPollInterval;
        if (timeline.started()) {
            uint64_t batch = std::min(wanted - got, task->clock->bufferSize);
            needed = timeline.times().at(task->readPosition + batch - 1) +
                     static_cast<double>(channels - 1) * convertInterval;
        } else if (clock_.isVirtual()) {
            needed = deadline;
        }
        needed = std::min(needed, deadline);
        if (clock_.isVirtual()) {
            clock_.advanceTo(needed);
        } else {
            waitUntil(lock, needed);
        }
    }
}

} // namespace simboard
