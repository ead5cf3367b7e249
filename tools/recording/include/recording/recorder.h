// Writes a recording into self-describing HDF5 files (docs/recording-format.md) that
// other processes can read while they grow, and that stay readable however the writer
// ends.
#ifndef TOOLS_RECORDING_INCLUDE_RECORDING_RECORDER_H
#define TOOLS_RECORDING_INCLUDE_RECORDING_RECORDER_H

#include "recording/recording_config.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace recording {

// A recording that cannot go on: the text names the file and the system's reason.  The
// files written so far are closed as far as the failure allows and stay readable.
class RecordingError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SegmentFile;
class SampleClock;

// Samples come scan by scan (one value of each channel, then the next scan), in the
// configured format.  Every call after a failure throws the failure again.  One thread at
// a time.
class Recorder {
  public:
    // Opens the first file; throws std::invalid_argument for a bad configuration and
    // RecordingError when the file cannot be made.
    explicit Recorder(RecordingConfig config);
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;
    // Closes without throwing; a failure then goes unreported, so call close().
    ~Recorder();

    void append(const float *scans, std::size_t count);
    void append(const double *scans, std::size_t count);
    void append(const std::int16_t *scans, std::size_t count);
    void event(Event event);
    // Ends the current file after the samples appended so far: it is flushed now, and
    // closed when the next sample begins a new one (or at close()).
    void rotateNow();
    // Makes everything appended so far readable, and safe against a crash.
    void flush();
    // Records the stop event and closes the last file.
    void close();

    std::int64_t samplesAppended() const { return appended_; }
    // Every file of the recording so far, oldest first.
    const std::vector<std::string> &files() const { return files_; }

  private:
    void appendBytes(SampleFormat format, const void *scans, std::size_t count);
    void openSegment();
    void closeSegment();
    void flushSegment();
    std::int64_t segmentCapacity() const;
    void failed(const RecordingError &error);
    void throwIfFailed() const;

    RecordingConfig config_;
    std::size_t scanBytes_;
    std::int64_t flushScans_;
    std::chrono::steady_clock::duration soonestFlush_;
    std::chrono::steady_clock::time_point lastFlush_ = std::chrono::steady_clock::now();
    std::unique_ptr<SampleClock> clock_;
    std::unique_ptr<SegmentFile> segment_;
    std::int64_t segmentScans_ = 0; // appended to the current file, flushed or not
    std::int64_t unflushedScans_ = 0;
    bool segmentFull_ = false; // the next sample begins a new file
    std::int64_t appended_ = 0;
    std::vector<Event> pendingEvents_;
    std::vector<std::string> files_;
    std::string failure_;
    bool closed_ = false;
};

} // namespace recording

#endif
