#include "library_status.h"

#include "tool_errors.h"

#include <orvex.h>

#include <cstdio>

namespace orvex_cli {

int checked(int status) {
    if (status >= 0) {
        return status;
    }
    std::fprintf(stderr, "Error = %i, %s\n", orvex_GetLastError(), orvex_GetLastErrorBuffer());
    throw CommandFailed("");
}

} // namespace orvex_cli
