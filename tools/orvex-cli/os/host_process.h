// What the tool takes from its process, one form per operating system: the arguments,
// the environment and the console, all in UTF-8 on every platform.
#ifndef TOOLS_ORVEX_CLI_OS_HOST_PROCESS_H
#define TOOLS_ORVEX_CLI_OS_HOST_PROCESS_H

#include <filesystem>
#include <string>
#include <vector>

namespace orvex_cli {

// The arguments as UTF-8.  On Windows they come from the wide command line, since the
// narrow `argv` holds them in the machine's code page and loses what it cannot spell.
std::vector<std::string> commandLineArguments(int argc, char **argv);

// Sets a variable of the tool's own process (the library reads it from there).
void setEnvironment(const char *name, const std::string &utf8Value);

// For the standard library's file streams: a UTF-8 path, which Windows takes as UTF-16.
inline std::filesystem::path pathFromUtf8(const std::string &utf8) {
    return std::u8string(utf8.begin(), utf8.end());
}

bool errorOutputIsTerminal();

// For the tool's lifetime: a Windows console shows the tool's UTF-8 text as such, and
// standard output and error carry '\n' unchanged, as on other systems.  Restores the
// console as it was.
class ConsoleSetup {
  public:
    ConsoleSetup();
    ~ConsoleSetup();
    ConsoleSetup(const ConsoleSetup &) = delete;
    ConsoleSetup &operator=(const ConsoleSetup &) = delete;

  private:
    unsigned int previousCodePage = 0;
};

} // namespace orvex_cli

#endif
