#include "host_process.h"

#include "host/host_text.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace orvex_cli {

std::vector<std::string> commandLineArguments(int argc, char **argv) {
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return {argv, argv + argc};
    }
    std::vector<std::string> arguments;
    for (int k = 0; k < count; ++k) {
        arguments.push_back(host::utf8FromWide(wide[k]));
    }
    LocalFree(wide);
    return arguments;
}

// In the process environment itself, in UTF-16, where the library and the simulated
// board read it; the C runtime's narrow copy would hold the code page's spelling.
void setEnvironment(const char *name, const std::string &utf8Value) {
    SetEnvironmentVariableW(host::wideFromUtf8(name).c_str(),
                            host::wideFromUtf8(utf8Value).c_str());
}

bool errorOutputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

ConsoleSetup::ConsoleSetup() {
    // Text mode would write "\r\n" for every '\n', into the data files on standard
    // output too.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
        GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) {
        previousCodePage = GetConsoleOutputCP();
        SetConsoleOutputCP(CP_UTF8);
    }
}

// The code page belongs to the console, which outlives the tool.
ConsoleSetup::~ConsoleSetup() {
    if (previousCodePage != 0) {
        SetConsoleOutputCP(previousCodePage);
    }
}

} // namespace orvex_cli
