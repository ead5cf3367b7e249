#include "error_output.h"

#include <cstdio>

namespace diagnostics {

void writeErrorOutput(const char *utf8) {
    std::fputs(utf8, stderr);
    std::fflush(stderr);
}

} // namespace diagnostics
