// The timing engine's view of one clocked task: when it was started, when its start
// trigger fired, and which samples exist by a given board time.  The trigger source is
// examined at the task's own sample clock ticks, so the first sample is the first tick at
// or past the crossing.
#ifndef PLATFORM_SIMBOARD_STAND_SAMPLE_TIMELINE_H
#define PLATFORM_SIMBOARD_STAND_SAMPLE_TIMELINE_H

#include <cstdint>
#include <optional>

namespace simboard {

class LabStand;

// Sample k of a sample clock comes at start + k / rate.
struct SampleTimes {
    double start = 0.0;
    double rate = 1.0;

    double at(uint64_t k) const { return start + static_cast<double>(k) / rate; }
};

// What starts a clocked task: an analog input crossing a level, a line's edge (both seen
// at the task's own clock ticks), or the start of the process's analog input task.
enum class TriggerSource { AnalogInput, Line, InputStart };

struct StartTrigger {
    TriggerSource source = TriggerSource::AnalogInput;
    int channel = 0; // analog input watched
    double level = 0.0;
    bool rising = true;
    int port = 0; // line watched
    int line = 0;
};

class SampleTimeline {
  public:
    void arm(double now, double rate, const std::optional<StartTrigger> &trigger);
    // Starts with `leader`'s first sample (or, when it runs already, its next tick at or
    // after the arming), on its clock when `shareClock`; a follower without a leader waits.
    void follow(SampleTimeline *leader, bool shareClock);
    // Keeps the start found so far and lets go of the leader, which stops.
    void leave();
    bool follows(const SampleTimeline *leader) const { return leader_ == leader; }
    // Examines the trigger source up to board time `until`; true once the start is known.
    // A trigger whose source depends on this very task (an output wired back to its own
    // trigger input) sees the task's output as not yet started while it is examined.
    bool resolveStart(double until, LabStand &stand);
    bool started() const { return started_; }
    SampleTimes times() const { return {start_, rate_}; }
    // Number of samples whose time is at or before t.
    uint64_t producedBy(double t) const;

  private:
    SampleTimes armTimes() const { return {armTime_, rate_}; }
    bool resolveFromLeader(double until, LabStand &stand);
    void scanSource(size_t count, LabStand &stand, double *levels);

    double armTime_ = 0.0;
    double rate_ = 1.0;
    double start_ = 0.0;
    bool started_ = false;
    std::optional<StartTrigger> trigger_;
    uint64_t nextTickToScan_ = 0;
    std::optional<double> previousLevel_;
    bool scanning_ = false;
    bool waitsForLeader_ = false;
    SampleTimeline *leader_ = nullptr;
    bool shareClock_ = false;
};

// Samples of a clock that exist at elapsed time `elapsed` after its start; the small
// allowance makes the sample at exactly k / rate count as present despite rounding.
inline uint64_t ticksWithin(double elapsed, double rate) {
    if (elapsed < 0.0) {
        return 0;
    }
    return static_cast<uint64_t>(elapsed * rate + 1e-4) + 1;
}

} // namespace simboard

#endif
