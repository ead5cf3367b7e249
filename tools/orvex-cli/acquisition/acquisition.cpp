#include "acquisition.h"

#include "core/library_status.h"
#include "core/tool_errors.h"
#include "os/stop_request.h"
#include "progress_line.h"

#include <orvex.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

namespace orvex_cli {
namespace {

// About a tenth of a second of samples per fetch keeps Ctrl-C prompt at any rate, and the
// cap keeps the block small next to the library's one-second buffer.
std::size_t blockSize(double rate) {
    const double tenth = rate / 10.0;
    return static_cast<std::size_t>(std::clamp(tenth, 1.0, 65536.0));
}

constexpr int samplesNotYetAvailable = -200284;

// From the calendar arithmetic of <chrono>, which needs neither gmtime_r nor gmtime_s.
std::string utcNow() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string triggerSource(const AcquisitionRequest &request, const Session &session) {
    if (request.trigger.starts_with("ai") && request.trigger.size() > 2 &&
        request.trigger.find('/') == std::string::npos) {
        return session.boardName() + "/" + request.trigger;
    }
    return request.trigger;
}

std::string describe(const AcquisitionRequest &request, const Session &session,
                     const std::string &start, const char *prefix) {
    char rate[64];
    std::snprintf(rate, sizeof rate, "%.17g", request.rate);
    std::string text;
    auto line = [&](const char *key, const std::string &value) {
        text += std::string(prefix) + key + ": " + value + "\n";
    };
    line("channel", "ai" + std::to_string(request.channel) + " (" +
                        session.physicalChannel("ai", request.channel) + ")");
    line("rate", std::string(rate) + " S/s");
    line("units", "V");
    line("start", start);
    line("driver", orvex_driverLibrary());
    line("slot", std::to_string(session.slot()));
    if (!request.trigger.empty()) {
        char level[64];
        std::snprintf(level, sizeof level, "%.17g", request.level);
        line("trigger", triggerSource(request, session) + " rising through " + level + " V");
    }
    return text;
}

// The description goes out before the first sample, so that even a killed acquisition
// leaves its data described; the count follows at the end.
void describeInHeader(OutputFile &header, const AcquisitionRequest &request, const Session &session,
                      const std::string &start) {
    header.append(describe(request, session, start, ""));
    header.append(std::string("format: ") + formatDescription(request.format) + "\n");
    header.flush();
}

void countInHeader(std::optional<OutputFile> &header, std::uint64_t samples) {
    if (header) {
        header->append("samples: " + std::to_string(samples) + "\n");
        header->close();
    }
}

void reportFailure(const CommandFailed &failure) {
    if (*failure.what() != '\0') {
        std::fprintf(stderr, "orvex: %s\n", failure.what());
    }
}

// A step of winding up after a failure: its own failure is reported, so that the steps
// after it still run.
template <typename Step> void windUp(Step step) {
    try {
        step();
    } catch (const CommandFailed &failure) {
        reportFailure(failure);
    }
}

class Fetch {
  public:
    Fetch(const AcquisitionRequest &request) : request(request) {}
    ~Fetch() {
        // Reached only when the acquisition failed; the failure is already reported.
        if (orvex_analogFetchStatus() == 1) {
            orvex_analogInStop(request.channel);
        }
    }

    // Waits for the first sample (the trigger) in short fetches of one sample, so that a
    // stop request is seen while waiting; a timed-out fetch of one sample loses nothing.
    bool first(double &sample) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(request.timeout);
        while (!stopRequested()) {
            const int status = orvex_analogFetchEx(request.channel, &sample, 1, nullptr, pollWait);
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

    void next(double *samples, std::size_t count) {
        const double wait = static_cast<double>(count) / request.rate + request.timeout;
        checked(
            orvex_analogFetchEx(request.channel, samples, static_cast<int>(count), nullptr, wait));
    }

    void stop() {
        if (orvex_analogFetchStatus() == 1) {
            checked(orvex_analogInStop(request.channel));
        }
    }

  private:
    static constexpr double pollWait = 0.1;
    const AcquisitionRequest &request;
};

} // namespace

AcquisitionResult acquire(const AcquisitionRequest &request, Session &session) {
    OutputFile file(request.output, recordSize(request.format));
    std::optional<OutputFile> header;
    if (!request.headerFile.empty()) {
        header.emplace(request.headerFile);
    }
    const std::string start = utcNow();
    if (isText(request.format)) {
        file.append(describe(request, session, start, "# "));
        file.append(request.format == SampleFormat::Csv ? "sample,volts\n" : "sample\tvolts\n");
    } else if (header) {
        describeInHeader(*header, request, session, start);
    }

    checked(orvex_analogInClk("OnboardClock", request.rate));
    const std::string trigger = request.trigger.empty() ? "" : triggerSource(request, session);
    checked(orvex_analogInTrigger(trigger.c_str(), request.level));

    AcquisitionResult result;
    ProgressLine progress(!session.quiet(), request.samples, request.rate);
    std::vector<double> block(blockSize(request.rate));
    try {
        Fetch fetch(request);
        // Each block reaches the file as soon as it is fetched, a tenth of a second of board
        // time at most: a killed tool or a power cut loses no more, and `tail -f` follows.
        if (fetch.first(block[0])) {
            appendSamples(file, request.format, block.data(), 1, 0);
            file.flush();
            result.samples = 1;
        }
        while (result.samples < request.samples && !stopRequested()) {
            const std::size_t count = static_cast<std::size_t>(
                std::min<std::uint64_t>(block.size(), request.samples - result.samples));
            fetch.next(block.data(), count);
            appendSamples(file, request.format, block.data(), count, result.samples);
            file.flush();
            result.samples += count;
            progress.update(result.samples);
        }
        fetch.stop();
        progress.finish();
        file.close();
    } catch (const CommandFailed &failure) {
        progress.finish();
        reportFailure(failure);
        // Keep every whole sample that came before the failure, and say how many there are.
        windUp([&] { file.close(); });
        windUp([&] { countInHeader(header, file.samplesWritten()); });
        std::fprintf(stderr, "orvex: %llu samples reached %s\n",
                     static_cast<unsigned long long>(file.samplesWritten()), file.name().c_str());
        throw CommandFailed("");
    }
    result.stopped = result.samples < request.samples;
    countInHeader(header, result.samples);
    return result;
}

} // namespace orvex_cli
