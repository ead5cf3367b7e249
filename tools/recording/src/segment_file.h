// One file of a recording: made with every attribute, then grown by flushes that each
// leave it whole on disk, in HDF5's single-writer/multiple-reader mode.
#ifndef TOOLS_RECORDING_SRC_SEGMENT_FILE_H
#define TOOLS_RECORDING_SRC_SEGMENT_FILE_H

#include "events_table.h"
#include "file_room.h"
#include "hdf5_handle.h"

#include <recording/recording_config.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace recording {

struct SegmentStart {
    std::string path;
    std::int64_t firstIndex = 0; // of the recording's samples
    double epoch = 0.0;          // UTC of the first sample, seconds since 1970
    int number = 0;              // of the recording's files
};

class SegmentFile {
  public:
    // Refuses to replace a file that exists.
    SegmentFile(const RecordingConfig &config, const SegmentStart &start);

    // Takes the room that `bytes` more of samples need, or throws before anything of
    // them is written.
    void reserve(std::uint64_t bytes);
    // Writes the samples and events; both become readable at flush().
    void append(const void *scans, std::int64_t count);
    void appendEvents(const std::vector<Event> &events, const SampleClock &clock);
    void flush();
    // Throws when what is left cannot be written; the handles are closed regardless.
    void close();

  private:
    void writeAttributes(const RecordingConfig &config, const SegmentStart &start);
    void writeChannels(const RecordingConfig &config);
    void makeSamples(const RecordingConfig &config);

    std::string path_;
    Hdf5Handle file_;
    Hdf5Handle samples_;
    std::optional<EventsTable> events_;
    std::optional<FileRoom> room_;
    hid_t memoryType_ = H5I_INVALID_HID;
    hsize_t channels_ = 0;
    hsize_t rows_ = 0;
    hsize_t rowBytes_ = 0;
    // Samples written since the last flush may still wait in HDF5's cache, where the
    // file's end does not count them yet; the close after a failure writes them out.
    haddr_t flushedEnd_ = 0;
    std::uint64_t unflushedBytes_ = 0;
};

} // namespace recording

#endif
