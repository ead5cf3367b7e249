#include "stop_request.h"

#include <csignal>
#include <ctime>

namespace orvex_cli {
namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int signal) {
    stopSignal = signal;
}

} // namespace

void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a sleep is cut short by the signal.
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed pipe shows as a failed write, reported like any other.
    std::signal(SIGPIPE, SIG_IGN);
    // Likewise a file that outgrows its size limit.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool stopRequested() {
    return stopSignal != 0;
}

void sleepUnlessStopped(double seconds) {
    constexpr double slice = 0.05;
    while (seconds > 0.0 && !stopRequested()) {
        const double now = seconds < slice ? seconds : slice;
        timespec pause{0, static_cast<long>(now * 1e9)};
        nanosleep(&pause, nullptr);
        seconds -= now;
    }
}

} // namespace orvex_cli
