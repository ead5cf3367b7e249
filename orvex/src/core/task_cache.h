// Every driver task the library owns, created on first need and kept until
// orvex_ni6251Close, with the internal operations that create and release them.
// Each internal operation returns 0 or the first negative driver status it met.
//
// No handle is ever dropped: a configuration or channel holds only tasks that were
// created whole, and a task whose release fails becomes a leftover, released again before
// the next task is created and at close.
#ifndef ORVEX_SRC_CORE_TASK_CACHE_H
#define ORVEX_SRC_CORE_TASK_CACHE_H

#include "daqmx/daqmx.h"
#include <orvex.h>

#include <array>
#include <cstddef>
#include <vector>

namespace orvex {

// One direction configuration of a port.  mask -1 marks an empty entry; a set mask bit
// makes its line an output.  A handle is null only when the configuration has no line of
// that direction.
struct PortConfig {
    int mask = -1;
    TaskHandle taskW = nullptr;
    TaskHandle taskR = nullptr;
    // Its input task started and the port's remembered value written since it last came
    // to the front; until then, asking for its mask again finishes the start.
    bool started = false;
    // Its input task runs: a retry that finishes the start must not start it again, which
    // the board's driver refuses.
    bool inputRunning = false;
};

using PortConfigList = std::array<PortConfig, PORT_CACHE_SIZE>; // entry 0 active, then MRU

// A task that could not be released and that no configuration or channel holds any more.
struct Leftover {
    TaskHandle task;
    bool stopFirst; // a port task, which may still be running
};

struct TaskCache {
    int slot = 2;
    std::array<PortConfigList, PORT_SIZE> ports{};
    std::array<TaskHandle, ANALOG_SIZEo> ao{};
    std::array<TaskHandle, ANALOG_SIZEi> ai{};
    // A scan's input task and its in-step output task, from its start to its stop.
    TaskHandle scan = nullptr;
    TaskHandle scanOutput = nullptr;
    std::array<int, PORT_SIZE> portValue{-1, -1, -1}; // last value written, -1 = none yet
    std::vector<Leftover> leftovers;
};

extern TaskCache cache;

// A failed creation releases what it created and leaves the entry (or handle) empty.
int32 createPortConfig(int port, int entry, int mask);
// Tries both tasks; the entry is empty afterwards whatever the result.
int32 clearPortConfig(int port, int entry);
int32 clearAllPortConfigs();
int32 createAOTask(int channel);
int32 createAITask(int channel);
// A released channel's clock and trigger are due again for the task that replaces it,
// and a fetch or generation marked on it ends.
int32 clearAOTask(int channel);
int32 clearAITask(int channel);
// A task of channels that add() gives it, or `into` left empty when the creation or add()
// fails.  Released with releaseTaskIn, stopped first when `stopFirst`.
int32 createTaskWith(const char *name, TaskHandle &into, bool stopFirst,
                     int32 (*add)(TaskHandle task, const void *context), const void *context);
int32 releaseTaskIn(TaskHandle &place, bool stopFirst);
// Tries the first `count` leftovers once each, in place, so that no memory is needed;
// those that will not go stay.
int32 releaseLeftovers(std::size_t count);

// For steps that are all tried: keeps the first failure.
inline void noteFailure(int32 &first, int32 status) {
    if (first >= 0 && status < 0) {
        first = status;
    }
}

} // namespace orvex

#endif
