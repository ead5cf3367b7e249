#include "library_status.h"

#include "tool_errors.h"

#include <orvex.h>

#include <cstdio>

namespace orvex_cli {

void printLibraryError() {
    std::fprintf(stderr, "Error = %i, %s\n", orvex_GetLastError(), orvex_GetLastErrorBuffer());
}

int checked(int status) {
    if (status >= 0) {
        return status;
    }
    printLibraryError();
    throw CommandFailed("");
}

} // namespace orvex_cli
