// The two ways a command ends early, which decide the exit status.
#ifndef TOOLS_ORVEX_CLI_CORE_TOOL_ERRORS_H
#define TOOLS_ORVEX_CLI_CORE_TOOL_ERRORS_H

#include <stdexcept>

namespace orvex_cli {

// Bad input on the command line or in a script line: status 2 with a hint.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The board or a file failed: status 1.  An empty message means it was already printed.
struct CommandFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace orvex_cli

#endif
