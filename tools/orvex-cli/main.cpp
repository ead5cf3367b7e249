// orvex: the board from a terminal.
#include "command_line.h"
#include "session.h"
#include "stop_request.h"

int main(int argc, char **argv) {
    orvex_cli::installStopHandlers();
    orvex_cli::Session session;
    const int status = orvex_cli::runCommandLine(argc, argv, session);
    const bool released = session.release();
    return status == orvex_cli::exitSuccess && !released ? orvex_cli::exitFailure : status;
}
