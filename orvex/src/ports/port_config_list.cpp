#include "port_config_list.h"

#include "core/task_cache.h"
#include "port_transfer.h"

#include <algorithm>

namespace orvex {

int32 stopPortConfig(int port, int entry) {
    PortConfig &config = cache.ports[port][entry];
    for (TaskHandle task : {config.taskW, config.taskR}) {
        if (task == nullptr) {
            continue;
        }
        if (const int32 status = DAQmxStopTask(task); status < 0) {
            return status;
        }
    }
    config.started = false;
    config.inputRunning = false;
    return 0;
}

// The output task is not started here: writing the remembered value starts it, and
// without one the port's next orvex_portOut does.  Until both steps succeed the entry
// counts as not started, so that the remembered value is never silently missing from
// the lines.
int32 startPortConfig(int port, int entry) {
    PortConfig &config = cache.ports[port][entry];
    if (config.taskR != nullptr && !config.inputRunning) {
        if (const int32 status = DAQmxStartTask(config.taskR); status < 0) {
            return status;
        }
        config.inputRunning = true;
    }
    const PortConfig &active = cache.ports[port][0];
    const int value = cache.portValue[port];
    if (value != -1 && active.mask != -1 && active.taskW != nullptr) {
        if (const int32 status = writePortTask(active.taskW, uInt8(value)); status < 0) {
            return status;
        }
    }
    config.started = true;
    return 0;
}

void shiftPortConfigs(int port, int count) {
    if (count > 0) {
        PortConfigList &list = cache.ports[port];
        std::copy_backward(list.begin(), list.begin() + count, list.begin() + count + 1);
    }
}

void raisePortConfig(int port, int entry) {
    if (entry > 0) {
        const PortConfig raised = cache.ports[port][entry];
        shiftPortConfigs(port, entry);
        cache.ports[port][0] = raised;
    }
}

} // namespace orvex
