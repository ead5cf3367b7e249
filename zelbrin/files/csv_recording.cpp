#include "csv_recording.h"

#include "csv_file.h"
#include "logic/port_lines.h"

#include <QDateTime>
#include <cmath>
#include <cstdio>

namespace zelbrin {

namespace {

constexpr const char *csvColumns =
    "time_s,ai2_V,ai3_V,x_calibrated,y_calibrated,port0_bits_7to0,port1_bits_7to0\n";

std::string header(const RecordingStart &start) {
    const auto started = QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(start.time.time_since_epoch())
            .count());
    char text[512];
    std::snprintf(text, sizeof text,
                  "# Zelbrin recording, started %s\n"
                  "# calibration (min, centre, max): X %.4f, %.4f, %.4f V; Y %.4f, %.4f, %.4f V\n"
                  "# intervals: sampling %.3f s, refresh %.3f s\n"
                  "# driver: %s; board slot %d\n"
                  "# X is %s, Y is %s\n",
                  started.toString(Qt::ISODate).toUtf8().constData(), start.x.min, start.x.mid,
                  start.x.max, start.y.min, start.y.mid, start.y.max, start.samplingInterval,
                  start.refreshInterval, start.driver.c_str(), start.slot,
                  start.swapped ? "AI3" : "AI2", start.swapped ? "AI2" : "AI3");
    return text + std::string(csvColumns);
}

// Empty when unknown, so that no made-up number enters the file.
std::string number(double value) {
    if (!std::isfinite(value)) {
        return "";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string bitsText(std::optional<std::uint8_t> byte) {
    if (!byte) {
        return "";
    }
    std::string bits;
    for (int bit = linesPerPort - 1; bit >= 0; --bit) {
        bits += ((*byte >> bit) & 1) ? '1' : '0';
    }
    return bits;
}

std::string row(const RecordedTick &tick) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", tick.seconds);
    return std::string(time) + ',' + number(tick.ai2) + ',' + number(tick.ai3) + ',' +
           number(tick.x) + ',' + number(tick.y) + ',' + bitsText(tick.port0) + ',' +
           bitsText(tick.port1) + '\n';
}

class CsvRecording : public RecordingFile {
  public:
    bool open(const std::string &path, const RecordingStart &start) {
        return file_.open(path, header(start));
    }
    bool append(const RecordedTick &tick) override { return file_.append(row(tick)); }
    bool close() override {
        file_.close();
        return true;
    }
    long long rows() const override { return file_.rows(); }
    const std::string &error() const override { return file_.error(); }

  private:
    CsvFile file_;
};

} // namespace

std::unique_ptr<RecordingFile> openCsvRecording(const std::string &path,
                                                const RecordingStart &start, std::string &why) {
    auto recording = std::make_unique<CsvRecording>();
    if (!recording->open(path, start)) {
        why = recording->error();
        return nullptr;
    }
    return recording;
}

} // namespace zelbrin
