// Faults a bench file or a test arms: the n-th call (counted from when the fault was
// armed) or every call of one entry point returns a given status.  A negative status
// replaces the call, which then has no effect; a positive one (a warning) is returned by
// a call that otherwise succeeded.
#ifndef ORVEX_SIMBOARD_FAULT_INJECTION_H
#define ORVEX_SIMBOARD_FAULT_INJECTION_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace simboard {

struct Fault {
    std::string entryPoint;
    uint64_t call = 0; // 1 = the first call after arming; 0 = every call
    int32_t status = 0;
};

class FaultInjection {
  public:
    void arm(Fault fault) { armed_.push_back({std::move(fault), 0}); }
    void clear() { armed_.clear(); }
    // Counts a call of `entryPoint` and returns the status to inject, 0 for none.
    int32_t onCall(std::string_view entryPoint);

  private:
    struct Armed {
        Fault fault;
        uint64_t callsSeen;
    };
    std::vector<Armed> armed_;
};

} // namespace simboard

#endif
