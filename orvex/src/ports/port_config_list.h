// Moves a port's direction configurations within its most-recently-used list and
// starts and stops the active one.
#ifndef ORVEX_SRC_PORTS_PORT_CONFIG_LIST_H
#define ORVEX_SRC_PORTS_PORT_CONFIG_LIST_H

#include "daqmx/daqmx.h"

namespace orvex {

// Each returns 0 or the first negative driver status.
int32 stopPortConfig(int port, int entry);
int32 startPortConfig(int port, int entry);

void shiftPortConfigs(int port, int count);
void raisePortConfig(int port, int entry);

} // namespace orvex

#endif
