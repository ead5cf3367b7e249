#include "board.h"
#include "bench_file.h"
#include "status_codes.h"

#include "host_text.h"

#include <cstdio>
#include <random>

namespace simboard {

Board &Board::instance() {
    // Never destroyed: a program may still call the driver from its own static
    // destructors, after this library's would have run.
    static Board *board = new Board();
    return *board;
}

Board::Board() {
    stand_.reset();
    stand_.setSeed(std::random_device{}());
    journal_.open(host::environment("ORVEX_SIM_JOURNAL").c_str());
    const std::string bench = host::environment("ORVEX_SIM_BENCH");
    if (!bench.empty()) {
        benchFailure_ = loadBenchFile(bench.c_str(), *this);
        if (benchFailure_.failed()) {
            std::fprintf(stderr, "simulated board: %s\n", benchFailure_.detail.c_str());
        }
    }
    clock_.restart();
}

void Board::remember(const Outcome &outcome) {
    if (outcome.failed()) {
        details_[outcome.status] = outcome.detail;
    }
}

std::string Board::describe(int32_t code) const {
    std::string text = statusText(code);
    if (text.empty()) {
        text = "Status " + std::to_string(code) + " has no description on the simulated board.";
    }
    auto detail = details_.find(code);
    if (detail != details_.end() && !detail->second.empty()) {
        text += "\n" + detail->second;
    }
    return text;
}

Outcome Board::findTask(uint64_t id, Task *&task) {
    task = tasks_.find(id);
    if (task == nullptr) {
        return refuse(status::invalidTask, "Handle " + std::to_string(id) + " names no live task.");
    }
    return {};
}

Outcome Board::findTaskWithChannel(uint64_t id, Task *&task) {
    Outcome outcome = findTask(id, task);
    if (!outcome.failed() && !task->channel) {
        outcome = refuse(status::taskHasNoChannel, "Task \"" + task->name + "\" has no channel.");
    }
    return outcome;
}

Outcome Board::findTransferTask(uint64_t id, Task *&task, int32_t *count) {
    if (count != nullptr) {
        *count = 0;
    }
    return findTaskWithChannel(id, task);
}

Outcome Board::start(Task &task) {
    if (task.running) {
        return {};
    }
    if (Outcome reserved = checkReservations(tasks_, task); reserved.failed()) {
        return reserved;
    }
    const TaskChannel &channel = *task.channel;
    if (channel.isDigital() && channel.direction == Direction::input) {
        driving_[channel.physical.port] &= static_cast<uint8_t>(~channel.physical.lineMask);
    }
    if (task.clocked()) {
        if (channel.isAnalogOutput() && task.waveform.empty()) {
            return refuse(status::noDataToGenerate,
                          "Task \"" + task.name + "\" has no samples written.");
        }
        task.timeline.arm(clock_.now(), task.clock->rate, task.trigger);
        task.readPosition = 0;
        task.overwritten = false;
        task.waveformOrigin = 0;
        if (channel.isAnalogOutput()) {
            generator_[channel.physical.analogChannel] = &task;
        }
    }
    task.running = true;
    return {};
}

void Board::stop(Task &task) {
    if (!task.running) {
        return;
    }
    const TaskChannel &channel = *task.channel;
    if (channel.isAnalogOutput() && generator_[channel.physical.analogChannel] == &task) {
        // The output keeps the level it had when the generation stopped.
        int output = channel.physical.analogChannel;
        outputLevel_[output] = analogOutputAt(output, clock_.now());
        generator_[output] = nullptr;
    }
    task.running = false;
    changed_.notify_all();
}

Outcome Board::autoStart(Task &task, bool &startedHere) {
    startedHere = !task.running;
    return start(task);
}

void Board::finishAutoStart(Task &task, bool startedHere) {
    if (startedHere && !task.clocked()) {
        stop(task);
    }
}

void Board::waitUntil(Lock &lock, double boardTime) {
    changed_.wait_until(lock, clock_.wallTimeAt(boardTime));
}

void Board::resetStand() {
    stand_.reset();
    faults_.clear();
    changed_.notify_all();
}

void Board::advanceTime(double seconds) {
    clock_.advanceTo(clock_.now() + seconds);
    changed_.notify_all();
}

std::optional<bool> Board::drivenLevel(int port, int line) const {
    if (((driving_[port] >> line) & 1u) == 0) {
        return std::nullopt;
    }
    return ((latch_[port] >> line) & 1u) != 0;
}

double Board::analogOutputAt(int channel, double t) {
    Task *task = generator_[channel];
    if (task == nullptr || !task->timeline.resolveStart(t, stand_)) {
        return outputLevel_[channel];
    }
    uint64_t produced = task->timeline.producedBy(t);
    if (produced == 0) {
        return outputLevel_[channel];
    }
    const std::vector<double> &wave = task->waveform;
    uint64_t size = wave.size();
    uint64_t tick = produced - 1;
    return wave[(tick + size - task->waveformOrigin % size) % size];
}

} // namespace simboard
