#include "task_cache.h"

#include "driver_names.h"

namespace orvex {

TaskCache cache;

namespace {

constexpr unsigned allLines = 0xFF;
constexpr float64 minVolts = -10.0;
constexpr float64 maxVolts = 10.0;

constexpr int32 firstFailure(int32 status) {
    return status < 0 ? status : 0;
}

// The handle is stored only once the driver created the task, so an entry never holds
// whatever a failed creation may have left in the out parameter.
int32 createTask(const char *name, TaskHandle &into) {
    TaskHandle task = nullptr;
    const int32 status = DAQmxCreateTask(name, &task);
    if (status >= 0) {
        into = task;
    }
    return status;
}

int32 createPortTask(int port, int mask, PortDirection direction, TaskHandle &into) {
    const unsigned lines = direction == PortDirection::output ? unsigned(mask) : ~unsigned(mask);
    if (const int32 status = createTask(portTaskName(port, direction, mask).data(), into);
        status < 0) {
        return status;
    }
    const PortDriverName channel = portLines(cache.slot, port, lines & allLines);
    return firstFailure(
        direction == PortDirection::output
            ? DAQmxCreateDOChan(into, channel.data(), "w", DAQmx_Val_ChanForAllLines)
            : DAQmxCreateDIChan(into, channel.data(), "r", DAQmx_Val_ChanForAllLines));
}

// Port tasks may be running, so they are stopped before they are released.
int32 releasePortTask(TaskHandle &task) {
    if (task == nullptr) {
        return 0;
    }
    if (const int32 status = DAQmxStopTask(task); status < 0) {
        return status;
    }
    if (const int32 status = DAQmxClearTask(task); status < 0) {
        return status;
    }
    task = nullptr;
    return 0;
}

int32 releaseAnalogTask(TaskHandle &task) {
    if (task == nullptr) {
        return 0;
    }
    if (const int32 status = DAQmxClearTask(task); status < 0) {
        return status;
    }
    task = nullptr;
    return 0;
}

} // namespace

int32 createPortConfig(int port, int entry, int mask) {
    PortConfig &config = cache.ports[port][entry];
    config = PortConfig{mask, nullptr, nullptr};
    if (mask != 0) {
        if (const int32 status = createPortTask(port, mask, PortDirection::output, config.taskW);
            status < 0) {
            return status;
        }
    }
    if (unsigned(mask) != allLines) {
        return createPortTask(port, mask, PortDirection::input, config.taskR);
    }
    return 0;
}

int32 clearPortConfig(int port, int entry) {
    PortConfig &config = cache.ports[port][entry];
    config.mask = -1;
    if (const int32 status = releasePortTask(config.taskW); status < 0) {
        return status;
    }
    return releasePortTask(config.taskR);
}

int32 clearAllPortConfigs() {
    for (int port = 0; port < PORT_SIZE; ++port) {
        for (int entry = 0; entry < PORT_CACHE_SIZE; ++entry) {
            clearPortConfig(port, entry); // a port task that will not go is left behind
        }
    }
    return 0;
}

int32 createAOTask(int channel) {
    TaskHandle &task = cache.ao[channel];
    if (const int32 status = createTask(analogOutTaskName(channel).data(), task); status < 0) {
        return status;
    }
    return firstFailure(DAQmxCreateAOVoltageChan(task, analogOutChannel(cache.slot, channel).data(),
                                                 "", minVolts, maxVolts, DAQmx_Val_Volts, ""));
}

int32 createAITask(int channel) {
    TaskHandle &task = cache.ai[channel];
    if (const int32 status = createTask(analogInTaskName(channel).data(), task); status < 0) {
        return status;
    }
    return firstFailure(DAQmxCreateAIVoltageChan(task, analogInChannel(cache.slot, channel).data(),
                                                 "", DAQmx_Val_RSE, minVolts, maxVolts,
                                                 DAQmx_Val_Volts, ""));
}

int32 clearAOTask(int channel) {
    return releaseAnalogTask(cache.ao[channel]);
}

int32 clearAITask(int channel) {
    return releaseAnalogTask(cache.ai[channel]);
}

} // namespace orvex
