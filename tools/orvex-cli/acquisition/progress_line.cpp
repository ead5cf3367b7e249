#include "progress_line.h"

#include "os/host_process.h"

#include <cstdio>

namespace orvex_cli {

ProgressLine::ProgressLine(bool enabled, std::uint64_t total, double boardRate)
    : shown(enabled && errorOutputIsTerminal()), total(total), boardRate(boardRate) {}

void ProgressLine::update(std::uint64_t done) {
    if (!shown) {
        return;
    }
    const auto now = Clock::now();
    if (now - lastDrawn < std::chrono::milliseconds(250)) {
        return;
    }
    lastDrawn = now;
    drawn = true;
    const double elapsed = std::chrono::duration<double>(now - start).count();
    const double rate = elapsed > 0.0 ? static_cast<double>(done) / elapsed : 0.0;
    const double left = static_cast<double>(total - done) / (rate > 0.0 ? rate : boardRate);
    std::fprintf(stderr, "\r%llu of %llu samples, %.0f S/s, %.0f s left   ",
                 static_cast<unsigned long long>(done), static_cast<unsigned long long>(total),
                 rate, left);
    std::fflush(stderr);
}

void ProgressLine::finish() {
    if (drawn) {
        std::fputc('\n', stderr);
    }
}

} // namespace orvex_cli
