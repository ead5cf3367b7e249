#include "task_cache.h"

#include "analog/clock_settings.h"
#include "driver_names.h"
#include "operation_ending.h"

#include <algorithm>
#include <new>
#include <utility>

namespace orvex {

TaskCache cache;

namespace {

constexpr unsigned allLines = 0xFF;
constexpr float64 minVolts = -10.0;
constexpr float64 maxVolts = 10.0;

constexpr int32 firstFailure(int32 status) {
    return status < 0 ? status : 0;
}

int32 releaseTask(TaskHandle task, bool stopFirst) {
    const int32 stopped = stopFirst ? DAQmxStopTask(task) : 0;
    return firstFailure(stopped < 0 ? stopped : DAQmxClearTask(task));
}

// Takes the task out of its place; one that will not go is kept as a leftover, in room
// had when the task was created (haveRoomForOneMoreTask), so keeping it cannot fail.
// Port tasks may be running, so they are stopped before they are released.
int32 releaseInto(TaskHandle &place, bool stopFirst) {
    if (place == nullptr) {
        return 0;
    }
    const TaskHandle task = std::exchange(place, nullptr);
    const int32 status = releaseTask(task, stopFirst);
    if (status < 0) {
        cache.leftovers.push_back({task, stopFirst});
    }
    return status;
}

int tasksHeld() {
    int held = 0;
    for (const PortConfigList &list : cache.ports) {
        for (const PortConfig &config : list) {
            held += int(config.taskW != nullptr) + int(config.taskR != nullptr);
        }
    }
    for (TaskHandle task : cache.ao) {
        held += int(task != nullptr);
    }
    for (TaskHandle task : cache.ai) {
        held += int(task != nullptr);
    }
    return held + int(cache.scan != nullptr) + int(cache.scanOutput != nullptr);
}

// Every task that exists may one day refuse to go and become a leftover.  Room for that
// is had before a task is created, when running short of memory only means not creating
// it: later, no handle can be lost and no exception can reach a caller in C.
bool haveRoomForOneMoreTask() {
    try {
        cache.leftovers.reserve(cache.leftovers.size() + std::size_t(tasksHeld()) + 1);
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

// A leftover may hold the very name about to be created, so it is tried first; whether
// it goes is reported at close.
int32 createTask(const char *name, TaskHandle &into) {
    if (!haveRoomForOneMoreTask()) {
        return noMemory();
    }
    releaseLeftovers(cache.leftovers.size());
    TaskHandle task = nullptr;
    const int32 status = DAQmxCreateTask(name, &task);
    if (status >= 0) {
        into = task;
    }
    return firstFailure(status);
}

// Creates the task with its one channel, or leaves `into` empty.
template <typename AddChannel>
int32 createWithChannel(const char *name, TaskHandle &into, bool stopFirst,
                        AddChannel &&addChannel) {
    if (const int32 status = createTask(name, into); status < 0) {
        return status;
    }
    const int32 status = firstFailure(addChannel(into));
    if (status < 0) {
        releaseInto(into, stopFirst);
    }
    return status;
}

int32 createPortTask(int port, int mask, PortDirection direction, TaskHandle &into) {
    const unsigned lines = direction == PortDirection::Output ? unsigned(mask) : ~unsigned(mask);
    const PortDriverName channel = portLines(cache.slot, port, lines & allLines);
    return createWithChannel(
        portTaskName(port, direction, mask).data(), into, true, [&](TaskHandle task) {
            return direction == PortDirection::Output
                       ? DAQmxCreateDOChan(task, channel.data(), "w", DAQmx_Val_ChanForAllLines)
                       : DAQmxCreateDIChan(task, channel.data(), "r", DAQmx_Val_ChanForAllLines);
        });
}

// Closes the gap the entry leaves, so that empty entries stay behind the occupied ones.
void removePortConfig(int port, int entry) {
    PortConfigList &list = cache.ports[port];
    std::move(list.begin() + entry + 1, list.end(), list.begin() + entry);
    list.back() = PortConfig{};
}

void endUseOfChannel(ClockOpt &settings, int channel) {
    const std::int32_t bit = std::int32_t(1) << channel;
    settings.maskClk |= bit;
    settings.maskTrig |= bit;
    if (settings.maskFetch == bit) {
        settings.maskFetch = 0;
    }
}

int32 clearAnalogTask(TaskHandle &task, ClockOpt &settings, int channel) {
    if (task == nullptr) {
        return 0;
    }
    endUseOfChannel(settings, channel);
    return releaseInto(task, false);
}

} // namespace

int32 createPortConfig(int port, int entry, int mask) {
    PortConfig &config = cache.ports[port][entry];
    config = PortConfig{mask, nullptr, nullptr, false};
    int32 status = 0;
    if (mask != 0) {
        status = createPortTask(port, mask, PortDirection::Output, config.taskW);
    }
    if (status >= 0 && unsigned(mask) != allLines) {
        status = createPortTask(port, mask, PortDirection::Input, config.taskR);
    }
    if (status < 0) {
        clearPortConfig(port, entry);
        removePortConfig(port, entry);
    }
    return status;
}

int32 clearPortConfig(int port, int entry) {
    PortConfig &config = cache.ports[port][entry];
    int32 first = 0;
    noteFailure(first, releaseInto(config.taskW, true));
    noteFailure(first, releaseInto(config.taskR, true));
    config = PortConfig{};
    return first;
}

int32 clearAllPortConfigs() {
    int32 first = 0;
    for (int port = 0; port < PORT_SIZE; ++port) {
        for (int entry = 0; entry < PORT_CACHE_SIZE; ++entry) {
            noteFailure(first, clearPortConfig(port, entry));
        }
    }
    return first;
}

int32 createAOTask(int channel) {
    const AnalogDriverName physical = analogOutChannel(cache.slot, channel);
    return createWithChannel(
        analogOutTaskName(channel).data(), cache.ao[channel], false, [&](TaskHandle task) {
            return DAQmxCreateAOVoltageChan(task, physical.data(), "", minVolts, maxVolts,
                                            DAQmx_Val_Volts, "");
        });
}

int32 createAITask(int channel) {
    const AnalogDriverName physical = analogInChannel(cache.slot, channel);
    return createWithChannel(
        analogInTaskName(channel).data(), cache.ai[channel], false, [&](TaskHandle task) {
            return DAQmxCreateAIVoltageChan(task, physical.data(), "", DAQmx_Val_RSE, minVolts,
                                            maxVolts, DAQmx_Val_Volts, "");
        });
}

int32 clearAOTask(int channel) {
    return clearAnalogTask(cache.ao[channel], dacOpt, channel);
}

int32 clearAITask(int channel) {
    return clearAnalogTask(cache.ai[channel], anlgClock, channel);
}

int32 createTaskWith(const char *name, TaskHandle &into, bool stopFirst,
                     int32 (*add)(TaskHandle task, const void *context), const void *context) {
    return createWithChannel(name, into, stopFirst,
                             [&](TaskHandle task) { return add(task, context); });
}

int32 releaseTaskIn(TaskHandle &place, bool stopFirst) {
    return releaseInto(place, stopFirst);
}

int32 releaseLeftovers(std::size_t count) {
    int32 first = 0;
    const auto tried = cache.leftovers.begin() + std::ptrdiff_t(count);
    const auto kept = std::remove_if(cache.leftovers.begin(), tried, [&](const Leftover &leftover) {
        const int32 status = releaseTask(leftover.task, leftover.stopFirst);
        noteFailure(first, status);
        return status >= 0;
    });
    cache.leftovers.erase(kept, tried);
    return first;
}

} // namespace orvex
