// Where an acquisition's samples come from: one input through the library's clocked read,
// or a scan of several.  Samples come in scans, one sample of each channel, the
// channels' samples interleaved.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_SAMPLE_SOURCE_H
#define TOOLS_ORVEX_CLI_ACQUISITION_SAMPLE_SOURCE_H

#include "acquisition.h"

#include <cstddef>
#include <memory>
#include <optional>

namespace orvex_cli {

// A scan's timing as the driver runs it, once its first sample is known.
struct ScanTiming {
    double rate = 0.0;
    double interval = 0.0;
    double channelStep = 0.0;
    double startTime = 0.0; // UTC, seconds since 1970
    double startTimeUncertainty = 0.0;
    int startTimeSource = ORVEX_TIME_UNKNOWN;
};

class SampleSource {
  public:
    explicit SampleSource(const AcquisitionRequest &request) : request(request) {}
    virtual ~SampleSource() = default;
    SampleSource(const SampleSource &) = delete;
    SampleSource &operator=(const SampleSource &) = delete;

    // Waits for the first scan (the trigger) in short reads of one scan, so that a stop
    // request is seen while waiting; a timed-out read of one scan loses nothing.  False
    // when stopped first; throws CommandFailed when --timeout passes.
    bool first(double *scan);
    // Throws CommandFailed with the library's error line printed.
    void next(double *scans, std::size_t count);
    virtual void stop() = 0;
    virtual std::optional<ScanTiming> timing() const { return std::nullopt; }

  protected:
    // The library's status of reading `count` scans within `wait` seconds.
    virtual int read(double *scans, int count, double wait) = 0;
    const AcquisitionRequest &request;
};

// Scans per read: about a tenth of a second keeps Ctrl-C prompt at any rate, and the cap
// keeps the block small next to the library's one-second buffer.
std::size_t scansPerBlock(double rate, std::size_t channels);

// Sets up and starts the request's read or scan.  Throws UsageError when the library
// refuses the user's settings, CommandFailed when the board fails.
std::unique_ptr<SampleSource> startSource(const AcquisitionRequest &request,
                                          const Session &session);

} // namespace orvex_cli

#endif
