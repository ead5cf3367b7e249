// Finds where a channel crossed the trigger level, in what the history holds: the scope
// triggers in software on the data it has, so any input of the scan can be the source.
#ifndef TOOLS_ORVEX_SCOPE_CORE_TRIGGER_SEARCH_H
#define TOOLS_ORVEX_SCOPE_CORE_TRIGGER_SEARCH_H

#include "sample_history.h"

#include <optional>

namespace scope {

struct TriggerCondition {
    int channel = 0; // of the history
    double level = 0.0;
    bool rising = true;
    // How far the signal must have been on the other side of the level before a crossing
    // counts, so that noise riding on an edge does not trigger twice.
    double hysteresis = 0.0;
};

// The newest crossing whose sample after the level is in [from, to), as a fractional
// sample index placed between the samples either side of the level; the arming look-back
// may go before from, down to the history's first sample.
std::optional<double> newestCrossing(const SampleHistory &history,
                                     const TriggerCondition &condition, long long from,
                                     long long to);

} // namespace scope

#endif
