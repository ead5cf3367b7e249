#include "board_commands.h"
#include "core/tool_errors.h"

#include <orvex.h>

#include <cstdio>

namespace orvex_cli {

void showInfo(const Session &session) {
    std::printf("orvex %s\n", ORVEX_TOOL_VERSION);
    std::printf("library: %s (header %s)\n", orvex_version(), ORVEX_VERSION_STRING);
    std::printf("driver: %s\n", orvex_driverLibrary());
    const bool loaded = orvex_driverLoad() >= 0;
    if (loaded) {
        std::printf("driver status: loaded\n");
    } else {
        std::printf("driver status: cannot load: Error = %i, %s\n", orvex_GetLastError(),
                    orvex_GetLastErrorBuffer());
    }
    std::printf("slot: %d (%s)\n", session.slot(), session.boardName().c_str());
    if (!loaded) {
        throw CommandFailed("");
    }
}

} // namespace orvex_cli
