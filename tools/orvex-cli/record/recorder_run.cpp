#include "recording_commands.h"

#include "acquisition/sample_source.h"
#include "core/tool_errors.h"
#include "journal_log.h"
#include "os/stop_request.h"
#include "read_pace.h"
#include "record_config.h"
#include "scan_recording.h"

#include <orvex.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace orvex_cli {
namespace {

constexpr double firstBackOff = 0.1;
constexpr double longestBackOff = 10.0;
// The most a read grows to when the samples are there already: a few hundred kilobytes.
constexpr std::size_t largestBlockValues = 65536;

// A failed driver call of the scan, told apart from a failed file, which ends the run.
struct DriverFault {
    int status;
    std::string text;
};

template <typename Call> auto driverCall(Call call) {
    try {
        return call();
    } catch (const CommandFailed &) {
        throw DriverFault{orvex_GetLastError(), orvex_GetLastErrorBuffer()};
    }
}

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string channelCount(std::size_t channels) {
    return std::to_string(channels) + (channels == 1 ? " channel" : " channels");
}

class RecorderRun {
  public:
    RecorderRun(const RecordConfig &config, Session &session)
        : config(config), session(session), recording(config.plan, session),
          shortestScans(std::max<std::size_t>(
              1, static_cast<std::size_t>(std::llround(config.block * config.scan.rate)))),
          longestScans(std::max(shortestScans, largestBlockValues / config.scan.scan.size())),
          block(longestScans * config.scan.scan.size()) {}

    void run() {
        double backOff = firstBackOff;
        while (!finished()) {
            try {
                scan(backOff);
            } catch (const DriverFault &fault) {
                // Before the first sample nothing runs yet to be kept going: a board that
                // cannot start is the service manager's to retry.
                if (!recording.started()) {
                    throw CommandFailed("the scan does not start: driver error " +
                                        std::to_string(fault.status) + ", " + fault.text);
                }
                logLine(LogPriority::Error, "driver error " + std::to_string(fault.status) + ", " +
                                                fault.text + "; the scan restarts in " +
                                                numberText(backOff) + " s");
                recording.event(
                    {recording::EventKind::DriverError, -1, fault.status, fault.text, 0});
                failedStatus = fault.status;
                sleepUnlessStopped(backOff);
                backOff = std::min(backOff * 2.0, longestBackOff);
            }
        }
        recording.close();
        logLine(LogPriority::Info, "stopped after " + std::to_string(recording.samples()) +
                                       " samples per channel, last file " +
                                       recording.currentFile());
    }

  private:
    bool finished() const {
        return stopRequested() || (config.scan.samples > 0 && remaining() == 0);
    }

    std::uint64_t remaining() const {
        return config.scan.samples - static_cast<std::uint64_t>(recording.samples());
    }

    std::size_t scansToRead(std::size_t blockScans) const {
        if (config.scan.samples == 0) {
            return blockScans;
        }
        return static_cast<std::size_t>(std::min<std::uint64_t>(blockScans, remaining()));
    }

    // One scan from its start until a stop; a driver failure leaves by DriverFault with the
    // scan stopped.
    void scan(double &backOff) {
        const std::size_t channels = config.scan.scan.size();
        const auto source = driverCall([&] { return startSource(config.scan, session); });
        if (!driverCall([&] { return source->first(block.data()); })) {
            return;
        }
        const ScanTiming timing = *source->timing();
        if (!recording.started()) {
            recording.start(timing);
            logLine(LogPriority::Info, "recording " + channelCount(channels) + " at " +
                                           numberText(timing.rate) + " S/s to " +
                                           recording.currentFile());
        } else {
            recordGap(timing);
        }
        scanStart = timing.startTime;
        scanFirstSample = recording.samples();
        recording.append(block.data(), 1);
        ReadPace pace(shortestScans, longestScans);
        while (!finished()) {
            if (takeRotationRequest()) {
                recording.rotateNow();
                logLine(LogPriority::Notice, "a new file begins after " +
                                                 std::to_string(recording.samples()) +
                                                 " samples, as SIGHUP asked");
            }
            const std::size_t scans = scansToRead(pace.scans());
            const auto asked = std::chrono::steady_clock::now();
            driverCall([&] {
                source->next(block.data(), scans);
                return 0;
            });
            pace.read(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count(),
                static_cast<double>(scans) * timing.interval);
            recording.append(block.data(), scans);
            backOff = firstBackOff;
        }
        driverCall([&] {
            source->stop();
            return 0;
        });
    }

    // The board time between the failed scan's last recorded sample and the new scan's
    // first, both from the library's start times; not below 0 where the start time does
    // not follow the board's clock (the simulated board's virtual time).
    void recordGap(const ScanTiming &timing) {
        const double lastEnd =
            scanStart +
            static_cast<double>(recording.samples() - scanFirstSample) * timing.interval;
        const auto missed =
            std::max<std::int64_t>(0, std::llround((timing.startTime - lastEnd) / timing.interval));
        recording.event({recording::EventKind::Gap, recording.samples(), failedStatus,
                         "scan restarted after a driver error", missed});
        logLine(LogPriority::Notice, "the scan runs again from sample " +
                                         std::to_string(recording.samples()) + ", " +
                                         std::to_string(missed) + " samples missed");
    }

    const RecordConfig &config;
    Session &session;
    ScanRecording recording;
    std::size_t shortestScans;
    std::size_t longestScans;
    std::vector<double> block;
    double scanStart = 0.0;
    std::int64_t scanFirstSample = 0;
    int failedStatus = 0;
};

} // namespace

void runRecorder(const std::string &configPath, Session &session) {
    const RecordConfig config = readRecordConfig(configPath);
    installRotationHandler();
    RecorderRun run(config, session);
    try {
        run.run();
    } catch (const CommandFailed &failure) {
        logLine(LogPriority::Error, failure.what());
        throw CommandFailed("");
    }
}

} // namespace orvex_cli
