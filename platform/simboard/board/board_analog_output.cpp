// Analog output: on-demand levels, and clocked generation that regenerates the written
// block in a loop from the task's start (or start trigger) on.
#include "board.h"
#include "names/status_codes.h"

#include "daqmx/daqmx.h"

namespace simboard {

Outcome Board::writeAnalog(uint64_t id, int32_t samples, bool autoStartTask, int32_t layout,
                           const double *data, int32_t *written) {
    Task *task = nullptr;
    Outcome outcome = findTransferTask(id, task, written);
    if (outcome.failed()) {
        return outcome;
    }
    if (!task->channel()->isAnalogOutput()) {
        return refuse(status::wrongTaskType,
                      "Analog write on task \"" + task->name + "\", which is no analog output.");
    }
    if (data == nullptr || samples < 1 || (!task->clocked() && samples != 1)) {
        return refuse(status::invalidArgument,
                      std::to_string(samples) + " samples per channel" +
                          (data == nullptr ? " from a null array."
                                           : ": a task without a sample clock writes one."));
    }
    if (layout != DAQmx_Val_GroupByChannel && layout != DAQmx_Val_GroupByScanNumber) {
        return refuse(status::invalidArgument, "Data layout " + std::to_string(layout) +
                                                   ": group by channel (0) or by scan number (1).");
    }
    const size_t channels = task->channels.size();
    const size_t count = static_cast<size_t>(samples);
    for (size_t i = 0; i < count * channels; ++i) {
        const TaskChannel &channel =
            task->channels[layout == DAQmx_Val_GroupByChannel ? i / count : i % channels];
        if (!(data[i] >= channel.minimum && data[i] <= channel.maximum)) {
            return refuse(status::valueOutOfRange,
                          "Sample " + std::to_string(i) + " is " + std::to_string(data[i]) +
                              " V; the channel takes " + std::to_string(channel.minimum) +
                              " V to " + std::to_string(channel.maximum) + " V.");
        }
    }
    if (task->clocked()) {
        outcome = writeGeneration(*task, samples, autoStartTask, layout, data);
    } else {
        if (!task->running && !autoStartTask) {
            return refuse(status::taskNotRunning, "Task \"" + task->name + "\".");
        }
        bool startedHere = false;
        if ((outcome = autoStart(*task, startedHere)).failed()) {
            return outcome;
        }
        // One sample per channel: both layouts put them in channel order.
        for (size_t k = 0; k < channels; ++k) {
            state().outputLevel[task->channels[k].physical.analogChannel] = data[k];
        }
        finishAutoStart(*task, startedHere);
    }
    if (!outcome.failed() && written != nullptr) {
        *written = samples;
    }
    changed_.notify_all();
    return outcome;
}

Outcome Board::writeGeneration(Task &task, int32_t samples, bool autoStartTask, int32_t layout,
                               const double *data) {
    const size_t channels = task.channels.size();
    const size_t count = static_cast<size_t>(samples);
    // Kept grouped by channel, as the outputs play them.
    task.waveform.resize(count * channels);
    for (size_t k = 0; k < channels; ++k) {
        for (size_t n = 0; n < count; ++n) {
            task.waveform[k * count + n] =
                data[layout == DAQmx_Val_GroupByChannel ? k * count + n : n * channels + k];
        }
    }
    task.waveformLength = count;
    if (task.running) {
        // A new block while generating takes over at the next tick of the sample clock.
        task.waveformOrigin = task.timeline.producedBy(clock_.now());
        return {};
    }
    return autoStartTask ? start(task) : Outcome{};
}

} // namespace simboard
