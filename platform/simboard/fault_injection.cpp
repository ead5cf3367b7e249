#include "fault_injection.h"

namespace simboard {

int32_t FaultInjection::onCall(std::string_view entryPoint) {
    int32_t injected = 0;
    for (Armed &armed : armed_) {
        if (armed.fault.entryPoint != entryPoint) {
            continue;
        }
        ++armed.callsSeen;
        bool due = armed.fault.call == 0 || armed.fault.call == armed.callsSeen;
        if (due && injected == 0) {
            injected = armed.fault.status;
        }
    }
    return injected;
}

} // namespace simboard
