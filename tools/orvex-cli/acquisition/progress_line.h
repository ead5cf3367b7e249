// The line a long acquisition keeps up to date on a terminal: samples, rate, time left.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_PROGRESS_LINE_H
#define TOOLS_ORVEX_CLI_ACQUISITION_PROGRESS_LINE_H

#include <chrono>
#include <cstdint>

namespace orvex_cli {

class ProgressLine {
  public:
    // Shows nothing unless `enabled` and standard error is a terminal.
    ProgressLine(bool enabled, std::uint64_t total, double boardRate);
    void update(std::uint64_t done);
    void finish();

  private:
    using Clock = std::chrono::steady_clock;
    bool shown;
    bool drawn = false;
    std::uint64_t total;
    double boardRate;
    Clock::time_point start = Clock::now();
    Clock::time_point lastDrawn = start;
};

} // namespace orvex_cli

#endif
