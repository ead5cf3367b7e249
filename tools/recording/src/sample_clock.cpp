#include "sample_clock.h"

namespace recording {

double SampleClock::offsetOf(std::int64_t index) const {
    std::int64_t missing = 0;
    for (const Gap &gap : gaps_) {
        if (gap.index <= index) {
            missing += gap.missing;
        }
    }
    return static_cast<double>(index + missing) * interval_;
}

} // namespace recording
