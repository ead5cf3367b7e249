#include "journal_log.h"

#include <cstdio>

namespace orvex_cli {

void logLine(LogPriority priority, const std::string &text) {
    std::fprintf(stderr, "<%d>orvex-record: %s\n", static_cast<int>(priority), text.c_str());
    std::fflush(stderr);
}

} // namespace orvex_cli
