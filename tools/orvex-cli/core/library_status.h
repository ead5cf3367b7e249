// Turns a failed library call into the "Error = <code>, <text>" line and a failed command.
#ifndef TOOLS_ORVEX_CLI_CORE_LIBRARY_STATUS_H
#define TOOLS_ORVEX_CLI_CORE_LIBRARY_STATUS_H

namespace orvex_cli {

// Prints the library's "Error = <code>, <text>" line of its last failure on standard error.
void printLibraryError();

// Returns the status when it is not negative; otherwise prints the library's error line
// on standard error and throws CommandFailed.
int checked(int status);

} // namespace orvex_cli

#endif
