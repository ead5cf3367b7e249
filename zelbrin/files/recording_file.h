// The file a recording goes to: CSV, or HDF5 for a name ending in .h5 or .hdf5.  Each
// sampling tick adds one row; what the recording was made with goes into the file as it
// begins.
#ifndef ZELBRIN_FILES_RECORDING_FILE_H
#define ZELBRIN_FILES_RECORDING_FILE_H

#include "logic/calibration.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zelbrin {

// What the recording was made with, as it begins.
struct RecordingStart {
    std::chrono::system_clock::time_point time;
    Calibration x;
    Calibration y;
    bool swapped; // X is AI3 and Y is AI2
    double samplingInterval;
    double refreshInterval;
    std::string driver;
    int slot;
};

// One sampling tick; a value whose read failed is not a number, a port not read is empty.
struct RecordedTick {
    double seconds; // since the recording began, as the tick arrived
    double ai2;
    double ai3;
    double x; // calibrated, after the swap
    double y;
    std::optional<std::uint8_t> port0;
    std::optional<std::uint8_t> port1;
};

class RecordingFile {
  public:
    virtual ~RecordingFile() = default;
    // False, the file closed as far as it goes and error() saying why, when the tick
    // could not be stored; the rows stored before stay readable.
    virtual bool append(const RecordedTick &tick) = 0;
    // False, with error() saying why, when the file could not be ended cleanly.
    virtual bool close() = 0;
    // Rows the file holds.
    virtual long long rows() const = 0;
    virtual const std::string &error() const = 0;
};

bool isHdf5FileName(const std::string &path);

// Null, with why set, when the file cannot be made.
std::unique_ptr<RecordingFile> openRecordingFile(const std::string &path,
                                                 const RecordingStart &start, std::string &why);

} // namespace zelbrin

#endif
