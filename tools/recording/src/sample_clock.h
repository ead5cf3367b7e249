// When each sample of a recording was taken: one interval after the one before, except
// after a gap, whose missing samples the board acquired all the same.
#ifndef TOOLS_RECORDING_SRC_SAMPLE_CLOCK_H
#define TOOLS_RECORDING_SRC_SAMPLE_CLOCK_H

#include <cstdint>
#include <vector>

namespace recording {

class SampleClock {
  public:
    SampleClock(double startEpoch, double interval)
        : startEpoch_(startEpoch), interval_(interval) {}

    // Sample `index` comes `missing` intervals later than it would without the gap.
    void gap(std::int64_t index, std::int64_t missing) { gaps_.push_back({index, missing}); }
    // Seconds after the recording's first sample.
    double offsetOf(std::int64_t index) const;
    // UTC, seconds since 1970.
    double epochOf(std::int64_t index) const { return startEpoch_ + offsetOf(index); }

  private:
    struct Gap {
        std::int64_t index;
        std::int64_t missing;
    };

    double startEpoch_;
    double interval_;
    std::vector<Gap> gaps_; // a few a day at most: a search would cost more than it saves
};

} // namespace recording

#endif
