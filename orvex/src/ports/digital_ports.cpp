// Per-line direction, writes and reads of the three digital ports.
#include "core/check_sites.h"
#include "core/operation_ending.h"
#include "core/task_cache.h"
#include "port_config_list.h"
#include "port_transfer.h"

using namespace orvex;

namespace {

bool validPort(int port) {
    return 0 <= port && port < PORT_SIZE;
}

// The entry that holds the mask, or the first empty one, or PORT_CACHE_SIZE when every
// entry holds another mask.
int findPortConfig(const PortConfigList &list, int mask) {
    int entry = 0;
    while (entry < PORT_CACHE_SIZE && list[entry].mask != mask && list[entry].mask != -1) {
        ++entry;
    }
    return entry;
}

} // namespace

// A failed step leaves the list usable: a configuration that could not be created is
// gone and is created again by the next request, one that could not be started is
// started by the next request, and one that could not be stopped stays active.
extern "C" int orvex_portMask(int portN, unsigned char mask) {
    ORVEX_CHECK(validPort(portN), checks::portMaskPort);
    const PortConfigList &list = cache.ports[portN];
    int entry = findPortConfig(list, mask);
    const bool known = entry < PORT_CACHE_SIZE && list[entry].mask == mask;
    if (known && entry == 0 && list[0].started) {
        return finish(1);
    }
    int32 status = 0;
    if (entry > 0) {
        ORVEX_TRY(status, stopPortConfig(portN, 0));
    }
    if (known) {
        raisePortConfig(portN, entry);
    } else {
        if (entry == PORT_CACHE_SIZE) {
            entry = PORT_CACHE_SIZE - 1; // the least recently used makes room
            ORVEX_TRY(status, clearPortConfig(portN, entry));
        }
        shiftPortConfigs(portN, entry);
        ORVEX_TRY(status, createPortConfig(portN, 0, mask));
    }
    ORVEX_TRY(status, startPortConfig(portN, 0));
    return finish(status);
}

extern "C" int orvex_portOut(int port, unsigned char value) {
    ORVEX_CHECK(validPort(port), checks::portOutPort);
    cache.portValue[port] = value; // driven again whenever the port regains output lines
    const PortConfig &active = cache.ports[port][0];
    int32 status = 1;
    if (active.mask != -1 && active.taskW != nullptr) {
        ORVEX_TRY(status, writePortTask(active.taskW, value));
    }
    return finish(status);
}

// Input lines as sensed, output lines as driven, chosen line by line by the mask.
extern "C" int orvex_portIn(int port, unsigned char *data) {
    ORVEX_CHECK(validPort(port), checks::portInPort);
    ORVEX_CHECK(data != nullptr, checks::portInData);
    const PortConfig &active = cache.ports[port][0];
    uInt8 inputs = 0;
    uInt8 outputs = 0;
    int32 status = 1;
    if (active.mask != -1 && active.taskR != nullptr) {
        ORVEX_TRY(status, readPortTask(active.taskR, inputs));
    }
    if (active.mask != -1 && active.taskW != nullptr) {
        ORVEX_TRY(status, readPortTask(active.taskW, outputs));
    }
    const unsigned mask = active.mask == -1 ? 0u : unsigned(active.mask);
    *data = static_cast<unsigned char>((mask & outputs) | (~mask & inputs));
    return finish(status);
}
