// The one place that writes and reads a port task, with the fixed parameters that every
// port transfer uses: one sample, auto-start, 10 s.
#ifndef ORVEX_SRC_PORTS_PORT_TRANSFER_H
#define ORVEX_SRC_PORTS_PORT_TRANSFER_H

#include "daqmx/daqmx.h"

namespace orvex {

// The driver's status, warnings included.
int32 writePortTask(TaskHandle task, uInt8 value);
int32 readPortTask(TaskHandle task, uInt8 &state);

} // namespace orvex

#endif
