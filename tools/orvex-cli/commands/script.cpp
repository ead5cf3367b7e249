#include "script.h"

#include "core/command_line.h"
#include "core/tool_errors.h"
#include "os/host_process.h"
#include "os/stop_request.h"

#include <cstdio>
#include <fstream>
#include <iostream>

namespace orvex_cli {

int runScript(const std::string &path, bool keepGoing, Session &session) {
    std::ifstream file;
    if (path != "-") {
        file.open(pathFromUtf8(path));
        if (!file) {
            throw UsageError("cannot read script " + path);
        }
    }
    std::istream &input = path == "-" ? std::cin : file;
    const std::string name = path == "-" ? "standard input" : path;

    session.enterScript();
    int firstFailure = exitSuccess;
    std::string line;
    for (int number = 1; std::getline(input, line) && !stopRequested(); ++number) {
        const auto comment = line.find('#');
        const std::string command = line.substr(0, comment);
        if (command.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        const int status = runCommandLine(command, session);
        if (status == exitSuccess) {
            continue;
        }
        std::fprintf(stderr, "orvex: %s:%d: this line failed\n", name.c_str(), number);
        if (firstFailure == exitSuccess) {
            firstFailure = status;
        }
        if (!keepGoing) {
            break;
        }
    }
    session.leaveScript();
    return firstFailure;
}

} // namespace orvex_cli
