// Every driver task the library owns, created on first need and kept until
// orvex_ni6251Close, with the internal operations that create and release them.
// Each internal operation returns 0 or the first negative driver status it met.
#ifndef ORVEX_TASK_CACHE_H
#define ORVEX_TASK_CACHE_H

#include "daqmx.h"
#include "orvex.h"

#include <array>

namespace orvex {

// One direction configuration of a port.  mask -1 marks an empty entry; a set mask bit
// makes its line an output.  A handle is null when the configuration has no line of
// that direction, or when its task was not created.
struct PortConfig {
    int mask = -1;
    TaskHandle taskW = nullptr;
    TaskHandle taskR = nullptr;
};

using PortConfigList = std::array<PortConfig, PORT_CACHE_SIZE>; // entry 0 active, then MRU

struct TaskCache {
    int slot = 2;
    std::array<PortConfigList, PORT_SIZE> ports{};
    std::array<TaskHandle, ANALOG_SIZEo> ao{};
    std::array<TaskHandle, ANALOG_SIZEi> ai{};
    std::array<int, PORT_SIZE> portValue{-1, -1, -1}; // last value written, -1 = none yet
};

extern TaskCache cache;

int32 createPortConfig(int port, int entry, int mask);
int32 clearPortConfig(int port, int entry);
int32 clearAllPortConfigs();
int32 createAOTask(int channel);
int32 createAITask(int channel);
int32 clearAOTask(int channel);
int32 clearAITask(int channel);

} // namespace orvex

#endif
