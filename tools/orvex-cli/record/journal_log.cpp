#include "journal_log.h"

#include <algorithm>
#include <cstdio>

namespace orvex_cli {

void logLine(LogPriority priority, const std::string &text) {
    // The journal takes a line as an entry: a driver's text of several lines stays one.
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stderr, "<%d>orvex-record: %s\n", static_cast<int>(priority), line.c_str());
    std::fflush(stderr);
}

} // namespace orvex_cli
