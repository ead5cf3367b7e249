// The simulated board: tasks, the lines and outputs it drives, its clock and the lab
// stand wired to it.  Made from a configuration and a clock by whoever owns it (the
// driver library makes one per process); guarded by one lock; a read that waits for
// samples in real time lets go of the lock while it sleeps, so tests may change the stand
// from another thread meanwhile.  The process's own tasks live here; what the board
// drives, the stand, the faults and the reservations live in its store, which is the
// process's own (a private board) or common to every process on the machine (the shared
// board).  Every call holds the store's access inside the board's lock.
#ifndef PLATFORM_SIMBOARD_BOARD_H
#define PLATFORM_SIMBOARD_BOARD_H

#include "analog/analog_channels.h"
#include "bench/bench_settings.h"
#include "bench/fault_injection.h"
#include "bench/journal.h"
#include "board_config.h"
#include "names/outcome.h"
#include "reservations.h"
#include "stand/board_clock.h"
#include "stand/board_outputs.h"
#include "stand/lab_stand.h"
#include "store/board_store.h"
#include "task_registry.h"

#include <array>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace simboard {

using Lock = std::unique_lock<std::mutex>;

// Where bench settings come from: the bench file chooses the board, a fragment may only
// confirm that choice.
enum class SettingsSource { BenchFile, Fragment };

class Board final : public BoardOutputs {
  public:
    Board(const BoardConfig &config, BoardClock clock);
    Board(const Board &) = delete;
    Board &operator=(const Board &) = delete;

    Lock lock() { return Lock(mutex_); }
    BoardStore &store() { return *store_; }
    // Set when the bench file could not be used: every driver call then fails with it.
    const Outcome &benchFailure() const { return benchFailure_; }
    FaultInjection &faults() { return faults_; }
    Journal &journal() { return journal_; }
    LabStand &stand() { return stand_; }
    BoardClock &clock() { return clock_; }

    // Keeps the details of a refusal for the next text request of its code.
    void remember(const Outcome &outcome);
    // The text of a code, with the details of its latest refusal.
    std::string describe(int32_t code) const;

    Outcome createTask(const char *name, uint64_t &id);
    Outcome startTask(uint64_t id);
    Outcome stopTask(uint64_t id);
    Outcome clearTask(uint64_t id);
    Outcome createDigitalChannel(uint64_t id, const char *lines, int32_t grouping,
                                 Direction direction);
    Outcome createAnalogChannel(uint64_t id, const char *name, const AnalogLimits &limits);
    Outcome configureSampleClock(uint64_t id, const char *source, double rate, int32_t edge,
                                 int32_t mode, uint64_t bufferSize);
    Outcome configureStartTrigger(uint64_t id, const char *source, int32_t slope, double level);
    Outcome disableStartTrigger(uint64_t id);
    Outcome configureDigitalStartTrigger(uint64_t id, const char *source, int32_t edge);
    Outcome sampleClockRate(uint64_t id, double *rate);
    Outcome convertRate(uint64_t id, double *rate);
    Outcome acquiredPerChannel(uint64_t id, uint64_t *count);

    // `layout` is the driver's fill mode or data layout: grouped by channel (0) or by scan
    // number (1); a digital task has one channel, for which both are the same.
    Outcome writeDigital(uint64_t id, int32_t samples, bool autoStart, int32_t layout,
                         const uint8_t *data, int32_t *written);
    // On-demand digital reads never wait: the lock and the timeout are there to give both
    // reads one shape.
    Outcome readDigital(Lock &lock, uint64_t id, int32_t samples, double timeout, uint8_t *data,
                        uint32_t arraySize, int32_t layout, int32_t *read);
    // The same read of a running task, served without the store's lock from a copy of
    // what it reads; false, having done nothing, when the read needs the lock: anything but
    // a plain success (a refusal, an auto-start, an armed fault) or a board held meanwhile.
    // The caller holds the board's lock and keeps no journal.
    bool readStartedDigital(uint64_t id, int32_t samples, uint8_t *data, uint32_t arraySize,
                            int32_t *read);
    Outcome writeAnalog(uint64_t id, int32_t samples, bool autoStart, int32_t layout,
                        const double *data, int32_t *written);
    Outcome readAnalog(Lock &lock, uint64_t id, int32_t samples, double timeout, double *data,
                       uint32_t arraySize, int32_t layout, int32_t *read);

    // Checks the settings against the board, then applies them all, or none when a check
    // fails; with `apply` false only checks them.
    Outcome applySettings(const BenchSettings &settings, SettingsSource source, bool apply = true);
    // Control: stand back to defaults, faults cleared; tasks and the clock stay.
    void resetStand();
    void advanceTime(double seconds);
    // Wakes reads that wait, after a change of the stand.
    void notifyChanged() { changed_.notify_all(); }

    // This process's live tasks, oldest first.
    template <class Visit> void forEachTask(Visit &&visit) { tasks_.forEach(visit); }

    std::optional<bool> drivenLevel(int port, int line) const override;
    double analogOutputAt(int channel, double t) override;

  private:
    Outcome checkSettings(const BenchSettings &settings, SettingsSource source) const;
    void takeSettings(const BenchSettings &settings, SettingsSource source);

    Outcome findTask(uint64_t id, Task *&task);
    Outcome findTaskWithChannel(uint64_t id, Task *&task);
    Outcome findInputTask(uint64_t id, Task *&task);
    // Samples per channel acquired by `t` (none before the start trigger), up to a finite
    // task's count.
    uint64_t acquired(Task &task, double t);
    // The same for a read or write, whose sample count reads 0 unless it gets further.
    Outcome findTransferTask(uint64_t id, Task *&task, int32_t *count);
    Outcome start(Task &task);
    // Ties outputs waiting on the analog input's start to the input task just started, or
    // an output just started to the running input task.
    void linkFollowers(Task &task);
    // The aggregate limit of the converter for the task's channels at `rate`.
    Outcome checkInputRate(const Task &task, double rate) const;
    void stop(Task &task);
    // Starts a stopped task for one read or write; `startedHere` tells the caller to stop
    // it again afterwards unless it runs on a continuous sample clock.
    Outcome autoStart(Task &task, bool &startedHere);
    void finishAutoStart(Task &task, bool startedHere);

    // A clocked read as asked for: samples per channel (-1: all there are) into the array.
    struct ScanRead {
        int32_t samples;
        double timeout;
        double *data;
        uint32_t arraySize;
        bool byScan;
    };
    // Where scans go in the caller's array: channel k's sample n of the read at
    // data[k * stride + offset + n] grouped by channel, or at data[(offset + n) * channels
    // + k] grouped by scan.
    struct ScanLayout {
        double *data;
        uint64_t stride;
        bool byScan;
        uint64_t offset = 0;
    };

    Outcome readOnDemand(Task &task, int32_t samples, double *data, uint32_t arraySize,
                         int32_t *read);
    Outcome readClocked(Lock &lock, uint64_t id, const ScanRead &scan, int32_t *read);
    // Scans first .. first+count-1 of the task's channels as the converter gives them.
    void convertScans(const Task &task, SampleTimes times, uint64_t first, size_t count,
                      ScanLayout layout);
    Outcome writeGeneration(Task &task, int32_t samples, bool autoStart, int32_t layout,
                            const double *data);
    // Sleeps until `boardTime` without the store's lock, then waits at most `patience`
    // to take it again; its refusal when it cannot be had.
    Outcome waitUntil(Lock &lock, double boardTime, std::chrono::milliseconds patience);

    BoardState &state() { return store_->state(); }
    const BoardState &state() const { return store_->state(); }

    std::mutex mutex_;
    std::condition_variable changed_;
    BoardClock clock_;
    std::unique_ptr<BoardStore> store_;
    LabStand stand_;
    Reservations reservations_;
    TaskRegistry tasks_;
    FaultInjection faults_;
    Journal journal_;
    Outcome benchFailure_;
    std::map<int32_t, std::string> details_;
    // Room for a batch of one channel's samples and of its differential partner's.
    std::vector<double> scratch_;
    // This process's clocked generations; other processes see an output's on-demand level.
    std::array<Task *, analogOutputCount> generator_{};
};

} // namespace simboard

#endif
