#include "trigger_search.h"

#include <algorithm>

namespace scope {

std::optional<double> newestCrossing(const SampleHistory &history,
                                     const TriggerCondition &condition, long long from,
                                     long long to) {
    // Falling is rising of the negated signal.
    const double sign = condition.rising ? 1.0 : -1.0;
    const double level = sign * condition.level;
    const double armed = level - std::max(0.0, condition.hysteresis);
    auto value = [&](long long index) { return sign * history.at(condition.channel, index); };
    const long long oldest = history.first();
    from = std::max(from, oldest + 1);
    to = std::min(to, history.total());
    // Backwards from the newest: a candidate is a sample at or above the level after one
    // below it; it counts once the signal is seen at or below the arming level before it,
    // and not if it is seen at or above the level first.
    long long candidate = -1;
    for (long long index = to - 1; index >= oldest; --index) {
        const double here = value(index);
        if (candidate >= 0) {
            if (here <= armed) {
                const double before = value(candidate - 1);
                const double after = value(candidate);
                return double(candidate - 1) + (level - before) / (after - before);
            }
            if (here >= level) {
                candidate = -1;
            }
        }
        if (candidate < 0) {
            if (index < from) {
                return std::nullopt;
            }
            if (here >= level && value(index - 1) < level) {
                candidate = index;
            }
        }
    }
    return std::nullopt;
}

} // namespace scope
