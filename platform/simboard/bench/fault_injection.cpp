#include "fault_injection.h"

#include <algorithm>

namespace simboard {

bool FaultInjection::arm(const Fault &fault, bool fromBenchFile) {
    if (table_.count >= FaultTable::capacity || fault.entryPoint.size() >= FaultTable::nameSize) {
        return false;
    }
    FaultTable::Armed &armed = table_.armed[table_.count++];
    armed = {};
    std::copy(fault.entryPoint.begin(), fault.entryPoint.end(), armed.entryPoint.begin());
    armed.call = fault.call;
    armed.status = fault.status;
    armed.fromBenchFile = fromBenchFile;
    return true;
}

void FaultInjection::disarmBenchFile() {
    auto armed = table_.armed.begin();
    auto kept =
        std::remove_if(armed, armed + std::min<uint32_t>(table_.count, FaultTable::capacity),
                       [](const FaultTable::Armed &fault) { return fault.fromBenchFile; });
    table_.count = static_cast<uint32_t>(kept - armed);
}

int32_t FaultInjection::onCall(std::string_view entryPoint) {
    int32_t injected = 0;
    // Clamped, as another process may have written the count.
    uint32_t count = std::min<uint32_t>(table_.count, FaultTable::capacity);
    for (uint32_t i = 0; i < count; ++i) {
        FaultTable::Armed &armed = table_.armed[i];
        std::string_view name(armed.entryPoint.data(),
                              std::find(armed.entryPoint.begin(), armed.entryPoint.end(), '\0') -
                                  armed.entryPoint.begin());
        if (name != entryPoint) {
            continue;
        }
        ++armed.callsSeen;
        bool due = armed.call == 0 || armed.call == armed.callsSeen;
        if (due && injected == 0) {
            injected = armed.status;
        }
    }
    return injected;
}

} // namespace simboard
