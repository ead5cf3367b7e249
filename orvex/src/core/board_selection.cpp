// Board selection and release of every task.
#include "operation_ending.h"
#include "task_cache.h"

#include <cstddef>

using namespace orvex;

extern "C" int orvex_ni6251Slot(int slot) {
    cache.slot = slot; // tasks already created keep their channels
    return finish(0);
}

// Every task is tried, a scan's and the analog tasks first, in a fixed order, then the port tasks
// and the leftovers of earlier failures.  A task that will not go is kept for the next close; the
// first failure is returned, so 0 means that no task is left.
extern "C" int orvex_ni6251Close(void) {
    int32 first = 0;
    // Only the leftovers of earlier calls: one this close makes is tried at the next.
    const std::size_t earlier = cache.leftovers.size();
    // A scan's output first: it waits on the scan's clock and trigger.
    noteFailure(first, releaseTaskIn(cache.scanOutput, true));
    noteFailure(first, releaseTaskIn(cache.scan, true));
    for (int channel = 0; channel < ANALOG_SIZEo; ++channel) {
        noteFailure(first, clearAOTask(channel));
    }
    for (int channel = 0; channel < ANALOG_SIZEi; ++channel) {
        noteFailure(first, clearAITask(channel));
    }
    noteFailure(first, clearAllPortConfigs());
    noteFailure(first, releaseLeftovers(earlier));
    return finish(first);
}
