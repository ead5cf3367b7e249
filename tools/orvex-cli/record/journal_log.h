// The recorder's log on standard error, each line with the "<N>" priority prefix that the
// system journal reads from a service's output (sd-daemon(3)); on a terminal the prefix
// is plain text and harmless.
#ifndef TOOLS_ORVEX_CLI_RECORD_JOURNAL_LOG_H
#define TOOLS_ORVEX_CLI_RECORD_JOURNAL_LOG_H

#include <string>

namespace orvex_cli {

enum class LogPriority { Error = 3, Warning = 4, Notice = 5, Info = 6 };

// "<6>orvex-record: text", flushed at once.
void logLine(LogPriority priority, const std::string &text);

} // namespace orvex_cli

#endif
