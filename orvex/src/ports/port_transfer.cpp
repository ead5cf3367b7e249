#include "port_transfer.h"

namespace orvex {
namespace {

constexpr float64 portTimeout = 10.0;

} // namespace

int32 writePortTask(TaskHandle task, uInt8 value) {
    return DAQmxWriteDigitalU8(task, 1, 1, portTimeout, DAQmx_Val_GroupByChannel, &value, nullptr,
                               nullptr);
}

int32 readPortTask(TaskHandle task, uInt8 &state) {
    return DAQmxReadDigitalU8(task, 1, portTimeout, DAQmx_Val_GroupByChannel, &state, 1, nullptr,
                              nullptr);
}

} // namespace orvex
