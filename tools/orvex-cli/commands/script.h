// `orvex run`: one command a line in one process, so that tasks, port directions and a
// running generation persist from line to line.
#ifndef TOOLS_ORVEX_CLI_COMMANDS_SCRIPT_H
#define TOOLS_ORVEX_CLI_COMMANDS_SCRIPT_H

#include "core/session.h"

#include <string>

namespace orvex_cli {

// Runs FILE ("-": standard input).  A failing line stops the script with its line number
// and status, unless keepGoing; then the first failing status is returned at the end.
int runScript(const std::string &path, bool keepGoing, Session &session);

} // namespace orvex_cli

#endif
