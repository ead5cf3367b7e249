#include "line_history.h"

#include <algorithm>
#include <cmath>

namespace scope {

void LineHistory::record(long long index, std::uint16_t levels, std::uint16_t known) {
    for (int line = 0; line < lineCount; ++line) {
        const unsigned bit = 1u << line;
        const LineState state = (known & bit) == 0    ? LineState::Unknown
                                : (levels & bit) != 0 ? LineState::High
                                                      : LineState::Low;
        Steps &steps = lines_[static_cast<std::size_t>(line)];
        if (steps.empty() || steps.back().state != state) {
            steps.push_back({index, state});
        }
    }
}

void LineHistory::dropBefore(long long first) {
    for (Steps &steps : lines_) {
        // The step in force at first stays; only those it replaces go.
        while (steps.size() > 1 && steps[1].index <= first) {
            steps.pop_front();
        }
    }
}

void LineHistory::clear() {
    for (Steps &steps : lines_) {
        steps.clear();
    }
}

LineHistory::Steps::const_iterator LineHistory::after(const Steps &steps, long long index) {
    return std::upper_bound(steps.begin(), steps.end(), index,
                            [](long long at, const LineStep &step) { return at < step.index; });
}

LineState LineHistory::stateAt(int line, long long index) const {
    const Steps &steps = of(line);
    const auto next = after(steps, index);
    return next == steps.begin() ? LineState::Unknown : std::prev(next)->state;
}

LineColumn LineHistory::column(int line, double from, double to) const {
    const Steps &steps = of(line);
    // A step at from is the column's own: the level before it is the one coming in.
    const auto next = after(steps, static_cast<long long>(std::ceil(from)) - 1);
    const LineState first = next == steps.begin() ? LineState::Unknown : std::prev(next)->state;
    const bool changed = next != steps.end() && double(next->index) < to;
    const LineState last =
        changed ? stateAt(line, static_cast<long long>(std::ceil(to)) - 1) : first;
    return {first, last, changed};
}

std::optional<double> LineHistory::newestEdge(int line, bool rising, long long from,
                                              long long to) const {
    const Steps &steps = of(line);
    const LineState before = rising ? LineState::Low : LineState::High;
    const LineState now = rising ? LineState::High : LineState::Low;
    // Backwards from the newest step before to; the first step has no level before it.
    auto step = after(steps, to - 1);
    while (step != steps.begin() && --step != steps.begin() && step->index >= from) {
        if (step->state == now && std::prev(step)->state == before) {
            return double(step->index);
        }
    }
    return std::nullopt;
}

} // namespace scope
