#include "hdf5_recording.h"

#include <orvex.h>
#include <recording/recorder.h>

#include <QString>
#include <QSysInfo>
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

namespace zelbrin {

const bool hdf5RecordingBuilt = true;

namespace {

constexpr double inputRange = 10.0;

recording::ChannelDescription boardInput(const char *name) {
    return {name, inputRange, "RSE", "V", 1.0, 0.0, {}};
}

// Not a board input: no range and no terminal.
recording::ChannelDescription derived(const char *name, const char *units) {
    return {name, 0.0, "", units, 1.0, 0.0, {}};
}

recording::ChannelDescription axis(const char *name, const Calibration &calibration) {
    recording::ChannelDescription channel = derived(name, "1");
    channel.calibration = {{"volts_at_minus_one", calibration.min},
                           {"volts_at_zero", calibration.mid},
                           {"volts_at_plus_one", calibration.max}};
    return channel;
}

// The library makes its file names from a pattern; this one is the name itself.
std::string literalPattern(const std::string &name) {
    std::string pattern;
    for (char c : name) {
        pattern += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return pattern;
}

recording::RecordingConfig configFor(const std::filesystem::path &path,
                                     const RecordingStart &start) {
    recording::RecordingConfig config;
    config.channels = {derived("time", "s"),    boardInput("ai2"),  boardInput("ai3"),
                       axis("x", start.x),      axis("y", start.y), derived("port0", "bits"),
                       derived("port1", "bits")};
    config.interval = start.samplingInterval;
    // The first tick comes within one sampling interval of the start.
    config.start = {std::chrono::duration<double>(start.time.time_since_epoch()).count(),
                    "at start", start.samplingInterval};
    config.format = recording::SampleFormat::Float64;
    config.directory = path.has_parent_path() ? path.parent_path().string() : ".";
    config.pattern = literalPattern(path.filename().string());
    // Every tick flushed: a stopped or killed window's file holds every row but the one
    // being written, and the row count the window reports is the file's.
    config.flushSeconds = std::min(1.0, start.samplingInterval);
    config.provenance = {"NI 6251",
                         start.slot,
                         start.driver,
                         "zelbrin",
                         ZELBRIN_VERSION,
                         orvex_version(),
                         QSysInfo::machineHostName().toStdString(),
                         ""};
    config.extraTexts = {{"x_input", start.swapped ? "ai3" : "ai2"},
                         {"y_input", start.swapped ? "ai2" : "ai3"}};
    config.extraNumbers = {{"refresh_interval", start.refreshInterval}};
    return config;
}

double portValue(std::optional<std::uint8_t> byte) {
    return byte ? static_cast<double>(*byte) : std::nan("");
}

class Hdf5Recording : public RecordingFile {
  public:
    explicit Hdf5Recording(recording::RecordingConfig config) : recorder_(std::move(config)) {}

    bool append(const RecordedTick &tick) override {
        const std::array<double, 7> row = {
            tick.seconds,         tick.ai2, tick.ai3, tick.x, tick.y, portValue(tick.port0),
            portValue(tick.port1)};
        try {
            recorder_.append(row.data(), 1);
        } catch (const std::exception &failure) {
            error_ = failure.what();
            return false;
        }
        ++rows_;
        return true;
    }

    bool close() override {
        try {
            recorder_.close();
        } catch (const std::exception &failure) {
            error_ = failure.what();
            return false;
        }
        return true;
    }

    long long rows() const override { return rows_; }
    const std::string &error() const override { return error_; }

  private:
    recording::Recorder recorder_;
    long long rows_ = 0;
    std::string error_;
};

} // namespace

std::unique_ptr<RecordingFile> openHdf5Recording(const std::string &path,
                                                 const RecordingStart &start, std::string &why) {
    const std::filesystem::path file(path);
    // The library never replaces a file; the user chose this one to be replaced, as a CSV
    // recording would be.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(file, ignored)) {
        std::filesystem::remove(file, ignored);
    }
    try {
        return std::make_unique<Hdf5Recording>(configFor(file, start));
    } catch (const std::exception &failure) {
        why = failure.what();
        return nullptr;
    }
}

} // namespace zelbrin
