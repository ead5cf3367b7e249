#include "sample_source.h"

#include "channel_source.h"
#include "core/library_status.h"
#include "core/tool_errors.h"
#include "os/stop_request.h"
#include "scan_source.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace orvex_cli {
namespace {

constexpr int samplesNotYetAvailable = -200284;
constexpr double pollWait = 0.1;

} // namespace

std::size_t scansPerBlock(double rate, std::size_t channels) {
    constexpr double largestBlock = 65536.0;
    const double tenth = rate / 10.0;
    return static_cast<std::size_t>(
        std::clamp(tenth, 1.0, std::max(1.0, largestBlock / static_cast<double>(channels))));
}

bool SampleSource::first(double *scan) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(request.timeout);
    while (!stopRequested()) {
        const int status = read(scan, 1, pollWait);
        if (status != samplesNotYetAvailable) {
            checked(status);
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            // The library's line speaks of the last short wait, not of --timeout.
            printLibraryError();
            char text[160];
            std::snprintf(text, sizeof text,
                          "no %s within %g s (--timeout); the error above is about the last of "
                          "the %g s waits for it",
                          request.trigger.empty() ? "sample" : "trigger", request.timeout,
                          pollWait);
            throw CommandFailed(text);
        }
    }
    return false;
}

void SampleSource::next(double *scans, std::size_t count) {
    const double wait = static_cast<double>(count) / request.rate + request.timeout;
    checked(read(scans, static_cast<int>(count), wait));
}

std::unique_ptr<SampleSource> startSource(const AcquisitionRequest &request,
                                          const Session &session) {
    if (request.scan.empty()) {
        return std::make_unique<ChannelSource>(request, session);
    }
    return std::make_unique<ScanSource>(request);
}

} // namespace orvex_cli
