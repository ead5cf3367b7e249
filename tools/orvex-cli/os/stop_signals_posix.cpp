#include "stop_request.h"

#include <csignal>

namespace orvex_cli {
namespace {

extern "C" void onStopSignal(int) {
    requestStop();
}

extern "C" void onRotationSignal(int) {
    requestRotation();
}

} // namespace

void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed pipe shows as a failed write, reported like any other.
    std::signal(SIGPIPE, SIG_IGN);
    // Likewise a file that outgrows its size limit.
    std::signal(SIGXFSZ, SIG_IGN);
}

void installRotationHandler() {
    struct sigaction action {};
    action.sa_handler = onRotationSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGHUP, &action, nullptr);
}

} // namespace orvex_cli
