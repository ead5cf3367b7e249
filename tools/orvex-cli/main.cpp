// orvex: the board from a terminal.
#include "core/command_line.h"
#include "core/session.h"
#include "os/host_process.h"
#include "os/stop_request.h"

int main(int argc, char **argv) {
    const orvex_cli::ConsoleSetup console;
    orvex_cli::installStopHandlers();
    orvex_cli::Session session;
    const int status =
        orvex_cli::runCommandLine(orvex_cli::commandLineArguments(argc, argv), session);
    const bool released = session.release();
    return status == orvex_cli::exitSuccess && !released ? orvex_cli::exitFailure : status;
}
