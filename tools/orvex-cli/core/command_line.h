// The tool's commands and options, parsed by CLI11, and the exit status of running them:
// 0 success, 1 a board or file failure, 2 a usage error (with a one-line hint).
#ifndef TOOLS_ORVEX_CLI_CORE_COMMAND_LINE_H
#define TOOLS_ORVEX_CLI_CORE_COMMAND_LINE_H

#include "session.h"

#include <string>
#include <vector>

namespace orvex_cli {

constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

// The whole command line of the process, the program's name first.
int runCommandLine(const std::vector<std::string> &arguments, Session &session);
// One line of a script, without the program name, split as script_line.h says.
int runCommandLine(const std::string &line, Session &session);

} // namespace orvex_cli

#endif
