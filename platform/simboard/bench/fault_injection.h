// Faults a bench file or a test arms: the n-th call (counted from when the fault was
// armed) or every call of one entry point returns a given status.  A negative status
// replaces the call, which then has no effect; a positive one (a warning) is returned by
// a call that otherwise succeeded.  The armed faults are plain data in the board's state,
// so on a board that processes share, a fault armed by one counts the calls of all.
#ifndef PLATFORM_SIMBOARD_BENCH_FAULT_INJECTION_H
#define PLATFORM_SIMBOARD_BENCH_FAULT_INJECTION_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace simboard {

struct Fault {
    std::string entryPoint;
    uint64_t call = 0; // 1 = the first call after arming; 0 = every call
    int32_t status = 0;
};

struct FaultTable {
    static constexpr size_t capacity = 32;
    static constexpr size_t nameSize = 48; // longer than any entry point's name

    struct Armed {
        std::array<char, nameSize> entryPoint;
        uint64_t call;
        int32_t status;
        uint64_t callsSeen;
        bool fromBenchFile; // ends with the process whose bench file armed it
    };
    std::array<Armed, capacity> armed{};
    uint32_t count = 0;
};

class FaultInjection {
  public:
    explicit FaultInjection(FaultTable &table) : table_(table) {}

    // False when the table is full.
    bool arm(const Fault &fault, bool fromBenchFile = false);
    // Disarms what the bench file armed: its process has ended.
    void disarmBenchFile();
    void clear() { table_.count = 0; }
    size_t armedCount() const { return table_.count; }
    // Counts a call of `entryPoint` and returns the status to inject, 0 for none.
    int32_t onCall(std::string_view entryPoint);

  private:
    FaultTable &table_;
};

} // namespace simboard

#endif
