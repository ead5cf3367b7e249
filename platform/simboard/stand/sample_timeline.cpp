#include "sample_timeline.h"
#include "lab_stand.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace simboard {

void SampleTimeline::arm(double now, double rate, const std::optional<StartTrigger> &trigger) {
    armTime_ = now;
    rate_ = rate;
    trigger_ = trigger;
    nextTickToScan_ = 0;
    previousLevel_.reset();
    started_ = !trigger_.has_value();
    start_ = now;
    waitsForLeader_ = trigger_ && trigger_->source == TriggerSource::InputStart;
    leader_ = nullptr;
}

void SampleTimeline::follow(SampleTimeline *leader, bool shareClock) {
    started_ = false;
    waitsForLeader_ = true;
    leader_ = leader;
    shareClock_ = shareClock;
}

void SampleTimeline::leave() {
    leader_ = nullptr;
}

bool SampleTimeline::resolveFromLeader(double until, LabStand &stand) {
    if (leader_ == nullptr) {
        return false;
    }
    scanning_ = true;
    bool known = leader_->resolveStart(until, stand);
    scanning_ = false;
    if (!known) {
        return false;
    }
    double leaderStart = leader_->start_;
    if (shareClock_) {
        // Ticks of the leader's clock; one already past when this task was armed is missed.
        rate_ = leader_->rate_;
        double missed = std::max(0.0, std::ceil((armTime_ - leaderStart) * rate_ - 1e-6));
        start_ = leaderStart + missed / rate_;
    } else {
        start_ = std::max(leaderStart, armTime_);
    }
    started_ = true;
    return true;
}

void SampleTimeline::scanSource(size_t count, LabStand &stand, double *levels) {
    if (trigger_->source == TriggerSource::AnalogInput) {
        stand.fillAnalogInput(trigger_->channel, armTimes(), nextTickToScan_, count, levels);
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        double t = armTimes().at(nextTickToScan_ + i);
        levels[i] = stand.lineLevel(trigger_->port, trigger_->line, t) ? 1.0 : 0.0;
    }
}

bool SampleTimeline::resolveStart(double until, LabStand &stand) {
    if (started_ || scanning_) {
        return started_;
    }
    if (waitsForLeader_) {
        return resolveFromLeader(until, stand);
    }
    if (!trigger_) {
        return started_;
    }
    scanning_ = true;
    uint64_t ticksToScan = ticksWithin(until - armTime_, rate_);
    std::array<double, 256> levels;
    while (!started_ && nextTickToScan_ < ticksToScan) {
        size_t batch =
            static_cast<size_t>(std::min<uint64_t>(levels.size(), ticksToScan - nextTickToScan_));
        scanSource(batch, stand, levels.data());
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
