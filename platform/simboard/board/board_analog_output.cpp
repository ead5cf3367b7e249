// Analog output: on-demand levels, and clocked generation that regenerates the written
// block in a loop from the task's start (or start trigger) on.
#include "board.h"
#include "names/status_codes.h"

namespace simboard {

Outcome Board::writeAnalog(uint64_t id, int32_t samples, bool autoStartTask, const double *data,
                           int32_t *written) {
    Task *task = nullptr;
    Outcome outcome = findTransferTask(id, task, written);
    if (outcome.failed()) {
        return outcome;
    }
    const TaskChannel &channel = *task->channel;
    if (!channel.isAnalogOutput()) {
        return refuse(status::wrongTaskType,
                      "Analog write on task \"" + task->name + "\", which is no analog output.");
    }
    if (data == nullptr || samples < 1 || (!task->clocked() && samples != 1)) {
        return refuse(status::invalidArgument,
                      std::to_string(samples) + " samples per channel" +
                          (data == nullptr ? " from a null array."
                                           : ": a task without a sample clock writes one."));
    }
    for (int32_t i = 0; i < samples; ++i) {
        if (!(data[i] >= channel.minimum && data[i] <= channel.maximum)) {
            return refuse(status::valueOutOfRange,
                          "Sample " + std::to_string(i) + " is " + std::to_string(data[i]) +
                              " V; the channel takes " + std::to_string(channel.minimum) +
                              " V to " + std::to_string(channel.maximum) + " V.");
        }
    }
    if (task->clocked()) {
        outcome = writeGeneration(*task, samples, autoStartTask, data);
    } else {
        if (!task->running && !autoStartTask) {
            return refuse(status::taskNotRunning, "Task \"" + task->name + "\".");
        }
        bool startedHere = false;
        if ((outcome = autoStart(*task, startedHere)).failed()) {
            return outcome;
        }
        state().outputLevel[channel.physical.analogChannel] = data[0];
        finishAutoStart(*task, startedHere);
    }
    if (!outcome.failed() && written != nullptr) {
        *written = samples;
    }
    changed_.notify_all();
    return outcome;
}

Outcome Board::writeGeneration(Task &task, int32_t samples, bool autoStartTask,
                               const double *data) {
    task.waveform.assign(data, data + samples);
    if (task.running) {
        // A new block while generating takes over at the next tick of the sample clock.
        task.waveformOrigin = task.timeline.producedBy(clock_.now());
        return {};
    }
    return autoStartTask ? start(task) : Outcome{};
}

} // namespace simboard
