#include "board.h"
#include "names/status_codes.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace simboard {

namespace {

// The shared board when a path for it is given, unless it cannot be had.
std::unique_ptr<BoardStore> openStore(const std::string &sharedPath) {
    uint64_t seed = std::random_device{}();
    if (sharedPath.empty()) {
        return openPrivateStore(seed);
    }
    std::string why;
    if (std::unique_ptr<BoardStore> store = openSharedStore(sharedPath, why)) {
        return store;
    }
    std::fprintf(stderr, "simulated board: no shared board (%s); this process gets its own\n",
                 why.c_str());
    return openPrivateStore(seed);
}

} // namespace

Board::Board(const BoardConfig &config, BoardClock clock)
    : clock_(clock), store_(openStore(config.sharedStatePath)),
      stand_(*this, store_->state().stand), reservations_(*store_), faults_(store_->state().faults),
      benchFailure_(config.bench.failure) {
    journal_.open(config.journalPath.c_str());
    StoreAccess access(*store_);
    // The first process on a shared board sets it up; one that joins finds it as the
    // others left it, and changes it through the control calls only.
    bool first = store_->join();
    const BenchFile &bench = config.bench;
    if (!bench.path.empty()) {
        if (!benchFailure_.failed()) {
            benchFailure_ = applySettings(bench.settings, SettingsSource::BenchFile, first);
            if (benchFailure_.failed()) {
                benchFailure_.detail = bench.path + ": " + benchFailure_.detail;
            }
        }
        if (benchFailure_.failed()) {
            std::fprintf(stderr, "simulated board: %s\n", benchFailure_.detail.c_str());
        } else if (!first) {
            std::fprintf(stderr,
                         "simulated board: joined the shared board in use (%s); %s was checked "
                         "but not applied\n",
                         store_->location().c_str(), bench.path.c_str());
        }
    }
    if (auto origin = store_->origin()) {
        clock_.startAt(*origin);
    } else {
        clock_.restart();
    }
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
    if (!outcome.failed() && !task->channel()) {
        outcome = refuse(status::taskHasNoChannel, "Task \"" + task->name + "\" has no channel.");
    }
    return outcome;
}

Outcome Board::findInputTask(uint64_t id, Task *&task) {
    Outcome outcome = findTaskWithChannel(id, task);
    if (!outcome.failed() && !task->channel()->isAnalogInput()) {
        outcome =
            refuse(status::wrongTaskType, "Task \"" + task->name + "\" is no analog input task.");
    }
    return outcome;
}

uint64_t Board::acquired(Task &task, double t) {
    task.timeline.resolveStart(t, stand_);
    uint64_t produced = task.timeline.producedBy(t);
    if (const auto &finite = task.clock->finiteSamples) {
        produced = std::min(produced, *finite);
    }
    return produced;
}

Outcome Board::findTransferTask(uint64_t id, Task *&task, int32_t *count) {
    if (count != nullptr) {
        *count = 0;
    }
    return findTaskWithChannel(id, task);
}

Outcome Board::start(Task &task) {
    if (task.running) {
        return refuse(status::taskIsRunning,
                      "Task \"" + task.name +
                          "\" is already running; stop it before starting it again.");
    }
    const TaskChannel &channel = *task.channel();
    if (task.clocked() && channel.isAnalogOutput() && task.waveform.empty()) {
        return refuse(status::noDataToGenerate,
                      "Task \"" + task.name + "\" has no samples written.");
    }
    if (task.clocked() && channel.isAnalogInput()) {
        if (Outcome outcome = checkInputRate(task, task.clock->rate); outcome.failed()) {
            return outcome;
        }
    }
    if (Outcome reserved = reservations_.reserve(task, task.holdingSlot); reserved.failed()) {
        return reserved;
    }
    if (channel.isDigital() && channel.direction == Direction::Input) {
        state().driving[channel.physical.port] &= static_cast<uint8_t>(~channel.physical.lineMask);
    }
    if (task.clocked()) {
        task.timeline.arm(clock_.now(), task.clock->rate, task.trigger);
        task.readPosition = 0;
        task.overwritten = false;
        task.waveformOrigin = 0;
        if (channel.isAnalogOutput()) {
            for (const TaskChannel &output : task.channels) {
                generator_[output.physical.analogChannel] = &task;
            }
        }
        linkFollowers(task);
    }
    task.running = true;
    return {};
}

void Board::linkFollowers(Task &task) {
    if (task.followsInput()) {
        tasks_.forEach([&](Task &leader) {
            if (leader.running && leader.clocked() && leader.channel()->isAnalogInput()) {
                task.timeline.follow(&leader.timeline, task.clock->followsInputClock);
            }
        });
        return;
    }
    if (task.channel()->isAnalogInput()) {
        tasks_.forEach([&](Task &follower) {
            if (follower.running && follower.clocked() && follower.followsInput()) {
                follower.timeline.follow(&task.timeline, follower.clock->followsInputClock);
            }
        });
    }
}

void Board::stop(Task &task) {
    if (!task.running) {
        return;
    }
    for (const TaskChannel &channel : task.channels) {
        int output = channel.physical.analogChannel;
        if (channel.isAnalogOutput() && generator_[output] == &task) {
            // The output keeps the level it had when the generation stopped.
            state().outputLevel[output] = analogOutputAt(output, clock_.now());
            generator_[output] = nullptr;
        }
    }
    if (task.clocked() && task.channel()->isAnalogInput()) {
        // Outputs it started keep their start; those still waiting wait for the next input.
        tasks_.forEach([&](Task &follower) {
            if (follower.timeline.follows(&task.timeline)) {
                follower.timeline.resolveStart(clock_.now(), stand_);
                follower.timeline.leave();
            }
        });
    }
    reservations_.release(task.id, task.holdingSlot);
    task.running = false;
    changed_.notify_all();
}

Outcome Board::autoStart(Task &task, bool &startedHere) {
    startedHere = !task.running;
    return startedHere ? start(task) : Outcome{};
}

void Board::finishAutoStart(Task &task, bool startedHere) {
    if (startedHere && !task.clocked()) {
        stop(task);
    }
}

Outcome Board::waitUntil(Lock &lock, double boardTime, std::chrono::milliseconds patience) {
    // Other processes may use the board meanwhile; their changes are seen at the wake-up,
    // as a waiting read looks again at least every few milliseconds.
    store_->unlock();
    changed_.wait_until(lock, clock_.wallTimeAt(boardTime));
    // Refused, the store's lock is not held: the call ends with the refusal and touches
    // the shared state no more, and its frame finds nothing to let go of.
    return store_->acquire(patience);
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
    if (((state().driving[port] >> line) & 1u) == 0) {
        return std::nullopt;
    }
    return ((state().latch[port] >> line) & 1u) != 0;
}

double Board::analogOutputAt(int channel, double t) {
    Task *task = generator_[channel];
    if (task == nullptr || !task->timeline.resolveStart(t, stand_)) {
        return state().outputLevel[channel];
    }
    uint64_t produced = task->timeline.producedBy(t);
    if (produced == 0) {
        return state().outputLevel[channel];
    }
    uint64_t tick = produced - 1;
    if (const auto &finite = task->clock->finiteSamples) {
        tick = std::min(tick, *finite - 1);
    }
    size_t index = 0;
    while (task->channels[index].physical.analogChannel != channel) {
        ++index;
    }
    uint64_t length = task->waveformLength;
    return task
        ->waveform[index * length + (tick + length - task->waveformOrigin % length) % length];
}

} // namespace simboard
