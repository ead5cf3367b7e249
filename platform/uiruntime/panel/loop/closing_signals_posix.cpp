#include "closing_signals.h"

#include "ops/panel_registry.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace panel {

namespace {

constexpr std::array closingSignals{SIGTERM, SIGINT, SIGHUP};

// A handler may do next to nothing, on whichever thread the signal lands: it writes the
// signal's number to this pipe, which the user-interface thread reads.  The pipe is made
// once and never closed, so that a late signal never writes to a closed or reused
// descriptor.
int signalPipe[2] = {-1, -1};

extern "C" void noteClosingSignal(int signal) {
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signal);
    // A full pipe already holds a close for the loop to deliver.
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

bool ignored(const struct sigaction &action) {
    return (action.sa_flags & SA_SIGINFO) == 0 && action.sa_handler == SIG_IGN;
}

struct sigaction notingAction() {
    struct sigaction action {};
    action.sa_handler = noteClosingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return action;
}

// Which of the closing signals arrived since the pipe was last read.
std::array<bool, closingSignals.size()> readArrived() {
    std::array<bool, closingSignals.size()> arrived{};
    unsigned char number = 0;
    while (read(signalPipe[0], &number, 1) == 1) {
        for (std::size_t i = 0; i < closingSignals.size(); ++i) {
            arrived[i] = arrived[i] || number == closingSignals[i];
        }
    }
    return arrived;
}

} // namespace

struct ClosingSignalScope::Taken {
    std::array<bool, closingSignals.size()> taken{};
    std::array<struct sigaction, closingSignals.size()> before{};
    std::unique_ptr<QSocketNotifier> reader;

    void deliver() const {
        const std::array<bool, closingSignals.size()> arrived = readArrived();
        if (closeShownPanels()) {
            return;
        }
        // Nothing to close: the signal acts as it would have without the loop.
        const struct sigaction ours = notingAction();
        for (std::size_t i = 0; i < closingSignals.size(); ++i) {
            if (arrived[i]) {
                sigaction(closingSignals[i], &before[i], nullptr);
                raise(closingSignals[i]);
                sigaction(closingSignals[i], &ours, nullptr);
            }
        }
    }
};

ClosingSignalScope::ClosingSignalScope() {
    if (signalPipe[0] < 0 && pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the signals keep their actions
    }
    readArrived(); // too late for the loop that ran before
    taken_ = std::make_unique<Taken>();
    taken_->reader = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(taken_->reader.get(), &QSocketNotifier::activated, taken_->reader.get(),
                     [taken = taken_.get()] { taken->deliver(); });
    const struct sigaction ours = notingAction();
    for (std::size_t i = 0; i < closingSignals.size(); ++i) {
        sigaction(closingSignals[i], nullptr, &taken_->before[i]);
        if (!ignored(taken_->before[i])) {
            sigaction(closingSignals[i], &ours, nullptr);
            taken_->taken[i] = true;
        }
    }
}

ClosingSignalScope::~ClosingSignalScope() {
    if (!taken_) {
        return;
    }
    for (std::size_t i = 0; i < closingSignals.size(); ++i) {
        if (taken_->taken[i]) {
            sigaction(closingSignals[i], &taken_->before[i], nullptr);
        }
    }
}

} // namespace panel
