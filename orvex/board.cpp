// Board selection and release of every task.
#include "operation_ending.h"
#include "task_cache.h"

using namespace orvex;

extern "C" int orvex_ni6251Slot(int slot) {
    cache.slot = slot; // tasks already created keep their channels
    return finish(0);
}

// Analog tasks go first, in a fixed order; the first that will not go ends the close
// and keeps the rest, so a retry releases exactly what is left.  Port tasks are
// released last and their failures are not reported.
extern "C" int orvex_ni6251Close(void) {
    int32 status = 0;
    for (int channel = 0; channel < ANALOG_SIZEo; ++channel) {
        ORVEX_TRY(status, clearAOTask(channel));
    }
    for (int channel = 0; channel < ANALOG_SIZEi; ++channel) {
        ORVEX_TRY(status, clearAITask(channel));
    }
    clearAllPortConfigs();
    return finish(0);
}
