// What the command line asks of the program.  Only the program's own options are read;
// everything else is left for the user-interface runtime (Qt's -platform, -display, ...).
#ifndef ZELBRIN_LOGIC_COMMAND_LINE_H
#define ZELBRIN_LOGIC_COMMAND_LINE_H

#include <optional>
#include <string>

namespace zelbrin {

struct CommandLine {
    // Set for --help and --version: printed to standard output instead of running.
    std::optional<std::string> answer;
    // Set for an option without its value: printed to the error output, status 2.
    std::optional<std::string> problem;
};

CommandLine readCommandLine(int argc, char *argv[]);

// The FILE of "--setup FILE" or "--setup=FILE" among the program's arguments, or null.
const char *setupFileArgument(int argc, char *argv[]);
// The FILE of "--record FILE" or "--record=FILE", or null.
const char *recordFileArgument(int argc, char *argv[]);

} // namespace zelbrin

#endif
