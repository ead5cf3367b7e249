#include "board_commands.h"
#include "tool_errors.h"

#include <orvex.h>

#include <cstdio>

namespace orvex_cli {

void showInfo(const Session &session) {
    std::printf("orvex %s\n", ORVEX_TOOL_VERSION);
    std::printf("driver: %s\n", driverLibrary().c_str());
    // Reading one input loads the driver; a driver that cannot load fails it with its
    // loading status and text.
    double volts = 0.0;
    const bool loaded = orvex_analogIn(0, &volts) >= 0;
    if (!loaded) {
        std::printf("driver status: cannot load or use it: Error = %i, %s\n", orvex_GetLastError(),
                    orvex_GetLastErrorBuffer());
    } else {
        std::printf("driver status: loaded\n");
    }
    std::printf("slot: %d (%s)\n", session.slot(), session.boardName().c_str());
    if (!loaded) {
        throw CommandFailed("");
    }
}

} // namespace orvex_cli
