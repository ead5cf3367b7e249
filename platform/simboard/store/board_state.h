// The part of the board that every process using it sees: the levels its outputs drive,
// the stand's settings, the armed faults and which running task holds which resource.
// Plain data of fixed size, so that it can live in memory that processes share; code
// that reads it clamps counts and indices, as another process may have written them.
#ifndef PLATFORM_SIMBOARD_STORE_BOARD_STATE_H
#define PLATFORM_SIMBOARD_STORE_BOARD_STATE_H

#include "bench/fault_injection.h"
#include "names/channel_names.h"
#include "stand/stand_settings.h"

#include <array>
#include <cstdint>
#include <type_traits>

namespace simboard {

// A process, told apart from a later one that got the same number.  {0, 0} is the
// process of a private board.
struct ProcessId {
    int32_t pid = 0;
    uint64_t startTime = 0;

    bool operator==(const ProcessId &) const = default;
};

enum class Resource : uint8_t { Lines, AnalogInput, AnalogOutput };

// One running task and what it holds.
struct Holding {
    static constexpr size_t nameSize = 64;

    bool used = false;
    ProcessId owner;
    uint64_t taskId = 0;
    std::array<char, nameSize> taskName{}; // cut to fit, always terminated
    Resource resource = Resource::Lines;
    uint8_t port = 0;
    uint8_t lineMask = 0;
    uint8_t analogChannel = 0; // analog input: the task's first channel
    uint8_t analogOutputs = 0; // analog output: bit n = aon
    bool clocked = false;
};

struct BoardState {
    static constexpr size_t maxHoldings = 128;
    static constexpr size_t maxProcesses = 64;

    std::array<uint8_t, portCount> latch{};
    std::array<uint8_t, portCount> driving{};
    std::array<double, analogOutputCount> outputLevel{};
    StandLayers stand;
    // The process whose bench file set the board up: what it set ends with it.
    ProcessId benchProcess;
    FaultTable faults;
    std::array<Holding, maxHoldings> holdings{};
    // Every holding from this one on is free, so that a start looks at the running tasks
    // only.
    uint32_t holdingsEnd = 0;
    // The processes using a shared board; pid 0 marks a free entry.
    std::array<ProcessId, maxProcesses> processes{};
};

static_assert(std::is_trivially_copyable_v<BoardState>);

} // namespace simboard

#endif
