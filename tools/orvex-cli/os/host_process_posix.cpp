#include "host_process.h"

#include <cstdlib>
#include <unistd.h>

namespace orvex_cli {

std::vector<std::string> commandLineArguments(int argc, char **argv) {
    return {argv, argv + argc};
}

void setEnvironment(const char *name, const std::string &utf8Value) {
    setenv(name, utf8Value.c_str(), 1);
}

bool errorOutputIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

// A terminal here takes UTF-8 and '\n' as they are.
ConsoleSetup::ConsoleSetup() = default;
ConsoleSetup::~ConsoleSetup() = default;

} // namespace orvex_cli
