// On-demand digital reads and writes.  Data is port-aligned: bit n belongs to line n
// whatever lines the task holds; a write drives only the task's own lines.
#include "board.h"
#include "names/status_codes.h"
#include "port_inputs.h"
#include "store/unlocked_copy.h"

namespace simboard {
namespace {

Outcome checkDigital(const Task &task, Direction direction, const char *operation) {
    if (!task.channel()->isDigital()) {
        return refuse(status::wrongTaskType,
                      std::string(operation) + " on analog task \"" + task.name + "\".");
    }
    if (task.channel()->direction != direction) {
        return refuse(status::wrongTaskType,
                      std::string(operation) + " on digital input task \"" + task.name + "\".");
    }
    return {};
}

Outcome checkOneSample(int32_t samples, const void *data) {
    if (data == nullptr) {
        return refuse(status::invalidArgument, "The data array is null.");
    }
    if (samples != 1) {
        return refuse(status::invalidArgument,
                      std::to_string(samples) +
                          " samples per channel: on-demand digital tasks take one sample.");
    }
    return {};
}

Outcome checkDigitalRead(const Task &task, int32_t samples, const uint8_t *data,
                         uint32_t arraySize) {
    if (!task.channel()->isDigital()) {
        return refuse(status::wrongTaskType, "Digital read on analog task \"" + task.name + "\".");
    }
    if (Outcome outcome = checkOneSample(samples == -1 ? 1 : samples, data); outcome.failed()) {
        return outcome;
    }
    if (arraySize < 1) {
        return refuse(status::invalidArgument, "The read array holds no sample.");
    }
    return {};
}

} // namespace

Outcome Board::writeDigital(uint64_t id, int32_t samples, bool autoStartTask, int32_t,
                            const uint8_t *data, int32_t *written) {
    Task *task = nullptr;
    Outcome outcome = findTransferTask(id, task, written);
    if (outcome.failed() || (outcome = checkDigital(*task, Direction::Output, "Write")).failed() ||
        (outcome = checkOneSample(samples, data)).failed()) {
        return outcome;
    }
    if (!task->running && !autoStartTask) {
        return refuse(status::taskNotRunning, "Task \"" + task->name + "\".");
    }
    bool startedHere = false;
    if ((outcome = autoStart(*task, startedHere)).failed()) {
        return outcome;
    }
    const PhysicalChannel &lines = task->channel()->physical;
    uint8_t &latch = state().latch[lines.port];
    latch = static_cast<uint8_t>((latch & ~lines.lineMask) | (data[0] & lines.lineMask));
    state().driving[lines.port] |= lines.lineMask;
    if (written != nullptr) {
        *written = 1;
    }
    finishAutoStart(*task, startedHere);
    changed_.notify_all();
    return {};
}

Outcome Board::readDigital(Lock &, uint64_t id, int32_t samples, double, uint8_t *data,
                           uint32_t arraySize, int32_t, int32_t *read) {
    Task *task = nullptr;
    Outcome outcome = findTransferTask(id, task, read);
    if (outcome.failed() ||
        (outcome = checkDigitalRead(*task, samples, data, arraySize)).failed()) {
        return outcome;
    }
    bool startedHere = false;
    if ((outcome = autoStart(*task, startedHere)).failed()) {
        return outcome;
    }
    const TaskChannel &channel = *task->channel();
    const PhysicalChannel &lines = channel.physical;
    data[0] =
        copyPortInputs(state(), lines.port).levels(lines.lineMask, channel.direction, clock_.now());
    if (read != nullptr) {
        *read = 1;
    }
    finishAutoStart(*task, startedHere);
    return {};
}

bool Board::readStartedDigital(uint64_t id, int32_t samples, uint8_t *data, uint32_t arraySize,
                               int32_t *read) {
    Task *task = tasks_.find(id);
    // Only a read that succeeds goes here: the locked read gives refusals and auto-starts.
    if (task == nullptr || !task->running || task->channel() == nullptr ||
        checkDigitalRead(*task, samples, data, arraySize).failed()) {
        return false;
    }
    const TaskChannel &channel = *task->channel();
    const PhysicalChannel &lines = channel.physical;
    PortInputs inputs;
    uint32_t armedFaults = 0;
    const bool copied = store_->readWithoutLock([&] {
        inputs = copyPortInputs(state(), lines.port);
        armedFaults = unlockedCopy(state().faults.count);
    });
    // An armed fault counts the call, which needs the lock.
    if (!copied || armedFaults != 0) {
        return false;
    }
    data[0] = inputs.levels(lines.lineMask, channel.direction, clock_.now());
    if (read != nullptr) {
        *read = 1;
    }
    return true;
}

} // namespace simboard
