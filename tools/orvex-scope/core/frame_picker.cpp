#include "frame_picker.h"

#include <algorithm>
#include <cmath>

namespace scope {

void FramePicker::arm(long long from) {
    armedFrom_ = from;
    searchedTo_ = from;
    lastTriggerAt_ = from;
    last_.reset();
}

Frame FramePicker::next(const SampleHistory &history, const FrameRequest &request,
                        const LineHistory *lines) {
    const long long total = history.total();
    const double span = request.span;
    Frame newest{double(total) - span, span, std::nullopt, FrameStatus::Rolling, total == 0};
    if (request.mode == SweepMode::Roll) {
        return newest;
    }
    if (request.mode == SweepMode::Single && last_ && last_->status == FrameStatus::Held) {
        return *last_;
    }
    const double pre = std::clamp(request.preTrigger, 0.0, 1.0) * span;
    const double post = span - pre;
    // The sample after the crossing must leave the whole span after it in the history and
    // the pre-trigger part before it.
    const long long to = total - static_cast<long long>(std::ceil(post)) + 1;
    const long long from = std::max({searchedTo_, armedFrom_ + 1,
                                     history.first() + static_cast<long long>(std::ceil(pre)) + 1});
    std::optional<double> trigger;
    if (from < to && request.line) {
        trigger = lines ? lines->newestEdge(*request.line, request.condition.rising, from, to)
                        : std::nullopt;
    } else if (from < to) {
        trigger = newestCrossing(history, request.condition, from, to);
    }
    if (trigger) {
        const FrameStatus status =
            request.mode == SweepMode::Single ? FrameStatus::Held : FrameStatus::Triggered;
        last_ = Frame{*trigger - pre, span, trigger, status, false};
        searchedTo_ = static_cast<long long>(std::floor(*trigger)) + 2;
        lastTriggerAt_ = total;
        return *last_;
    }
    searchedTo_ = std::max(searchedTo_, to);
    // A trigger a moment ago still stands; only a long wait is news.
    if (last_ && total - lastTriggerAt_ <= request.autoAfter) {
        return *last_;
    }
    if (request.mode == SweepMode::Auto) {
        newest.status = FrameStatus::Free;
        return newest;
    }
    Frame waiting = last_ ? *last_ : newest;
    waiting.status = FrameStatus::Waiting;
    waiting.empty = !last_;
    return waiting;
}

} // namespace scope
