#include "sample_timeline.h"
#include "lab_stand.h"

#include <algorithm>
#include <array>

namespace simboard {

void SampleTimeline::arm(double now, double rate, const std::optional<StartTrigger> &trigger) {
    armTime_ = now;
    rate_ = rate;
    trigger_ = trigger;
    nextTickToScan_ = 0;
    previousLevel_.reset();
    started_ = !trigger_.has_value();
    start_ = now;
}

bool SampleTimeline::resolveStart(double until, LabStand &stand) {
    if (started_ || scanning_ || !trigger_) {
        return started_;
    }
    scanning_ = true;
    uint64_t ticksToScan = ticksWithin(until - armTime_, rate_);
    std::array<double, 256> levels;
    while (!started_ && nextTickToScan_ < ticksToScan) {
        size_t batch =
            static_cast<size_t>(std::min<uint64_t>(levels.size(), ticksToScan - nextTickToScan_));
        stand.fillAnalogInput(trigger_->channel, armTimes(), nextTickToScan_, batch, levels.data());
        for (size_t i = 0; i < batch; ++i) {
            double level = levels[i];
            bool crossed =
                previousLevel_ &&
                (trigger_->rising ? *previousLevel_ < trigger_->level && level >= trigger_->level
                                  : *previousLevel_ > trigger_->level && level <= trigger_->level);
            if (crossed) {
                start_ = armTimes().at(nextTickToScan_ + i);
                started_ = true;
                break;
            }
            previousLevel_ = level;
        }
        if (!started_) {
            nextTickToScan_ += batch;
        }
    }
    scanning_ = false;
    return started_;
}

uint64_t SampleTimeline::producedBy(double t) const {
    if (!started_) {
        return 0;
    }
    return ticksWithin(t - start_, rate_);
}

} // namespace simboard
