// A scan's samples into the recording library's HDF5 files.  The recording is made with
// the scan's first sample, once the library knows the start time, and is described from
// what the library runs the scan as (orvex_scanInfo, orvex_scanChannel), not from what
// was asked: the board widens ranges and rounds the clock.
#ifndef TOOLS_ORVEX_CLI_RECORD_SCAN_RECORDING_H
#define TOOLS_ORVEX_CLI_RECORD_SCAN_RECORDING_H

#include "acquisition/sample_source.h"
#include "core/session.h"

#include <recording/recorder.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvex_cli {

struct RecordingPlan {
    bool float64 = false; // volts as float64 rather than float32
    std::string directory = ".";
    std::string pattern;
    double rotateSeconds = 0.0; // of board time; 0: never
    std::uint64_t rotateBytes = 0;
    std::string notes;
    std::string program; // "orvex ai acquire", "orvex record"
};

class ScanRecording {
  public:
    ScanRecording(RecordingPlan plan, const Session &session);

    bool started() const { return recorder != nullptr; }
    // Makes the recording from the running scan; its first sample is the recording's.
    // Throws UsageError for a pattern the library refuses, CommandFailed for a file.
    void start(const ScanTiming &timing);
    // Throws CommandFailed naming the file and the system's reason.
    void append(const double *scans, std::size_t count);
    void event(recording::Event event);
    void rotateNow();
    void close();

    std::int64_t samples() const { return recorder ? recorder->samplesAppended() : 0; }
    // The file being written, or the last one.
    std::string currentFile() const;

  private:
    template <typename Step> void guarded(Step step);

    RecordingPlan plan;
    const Session &session;
    std::unique_ptr<recording::Recorder> recorder;
    std::size_t channelCount = 0;
    std::vector<float> narrowed;
};

} // namespace orvex_cli

#endif
