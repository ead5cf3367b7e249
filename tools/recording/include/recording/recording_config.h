// What a recording holds besides its samples: the channels, the clock, the start time,
// where the files go and when a new one begins.  The caller fills it from what the board
// reports (orvex_scanInfo, orvex_scanChannel); nothing here reaches the board itself.
#ifndef TOOLS_RECORDING_INCLUDE_RECORDING_RECORDING_CONFIG_H
#define TOOLS_RECORDING_INCLUDE_RECORDING_RECORDING_CONFIG_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace recording {

// How samples are stored: volts as 32- or 64-bit floats, or the board's 16-bit codes with
// each channel's scale and offset (volts = code * scale + offset).
enum class SampleFormat { Float32, Float64, Int16 };

// The format's name, in a file's sample_format attribute and in a JSON configuration:
// "float32", "float64" or "int16".
const char *sampleFormatName(SampleFormat format);

struct ChannelDescription {
    std::string name;             // "ai3"
    double range = 10.0;          // the board's range: +-range volts
    std::string terminal = "RSE"; // "RSE", "NRSE" or "DIFF"
    std::string units = "V";
    double scale = 1.0; // volts per code, for SampleFormat::Int16
    double offset = 0.0;
    std::map<std::string, double> calibration; // free key/values, such as the window's points
};

struct StartTime {
    double epochSeconds = 0.0;      // UTC of the recording's first sample, seconds since 1970
    std::string source = "unknown"; // how it was taken: "at start", "from count", ...
    double uncertainty = 0.0;       // seconds either side
};

// Who made the recording, on what; every text may stay empty.
struct Provenance {
    std::string board;
    int slot = 0;
    std::string driver;
    std::string program;
    std::string programVersion;
    std::string libraryVersion;
    std::string host;
    std::string notes;
};

// A new file begins when the current one holds this much board time or this many bytes
// of samples, whichever comes first; 0 turns a limit off.
struct Rotation {
    double seconds = 0.0;
    std::uint64_t bytes = 0;
};

struct RecordingConfig {
    std::vector<ChannelDescription> channels;
    double interval = 0.001; // seconds between two samples of one channel
    StartTime start;
    SampleFormat format = SampleFormat::Float32;
    Rotation rotation;
    std::string directory = ".";
    // The file name, from the file's first sample time in UTC: %Y %m %d %H %M %S as in
    // strftime, %f the microseconds (6 digits), %n the file's number in the recording
    // from 0 (4 digits at least), %% a percent sign.
    std::string pattern = "run-%Y%m%dT%H%M%S.h5";
    // Board time between two flushes, at the end of the append that reaches it, and at
    // least half of it in real time; a killed real-time recorder loses at most about this
    // much.
    double flushSeconds = 0.5;
    Provenance provenance;
    // The recording program's own attributes, written at the root of every file beside
    // the format's; a name the format uses itself makes the file fail to open.
    std::map<std::string, std::string> extraTexts;
    std::map<std::string, double> extraNumbers;
};

enum class EventKind : std::int8_t { Start, Stop, Trigger, DriverError, Retry, Gap, Rotation };

struct Event {
    EventKind kind = EventKind::Start;
    std::int64_t sampleIndex = -1; // in the whole recording; -1: the samples appended so far
    std::int32_t code = 0;         // a driver status, say
    std::string text;              // stored up to eventTextSize - 1 bytes
    std::int64_t duration = 0;     // samples, for a gap
};

constexpr std::size_t eventTextSize = 128;

} // namespace recording

#endif
