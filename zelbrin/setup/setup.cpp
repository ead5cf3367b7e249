#include "setup.h"

#include <QString>
#include <cmath>
#include <optional>

namespace zelbrin {

namespace {

// Identifies a set-up written by this program; a file without it is someone else's.
constexpr const char *formatKey = "format";
constexpr const char *setupFormat = "zelbrin-setup-1";

// The ranges the window's fields accept.
constexpr double fieldVolts = 10.0;
constexpr double shortestInterval = 0.01;
constexpr double longestInterval = 10.0;
constexpr int plotModes = 3;

class Reader {
  public:
    explicit Reader(const SetupValues &values) : values_(values) {}

    // A value refused gives low: the set-up is refused and never used, but the value
    // still goes through conversions (the plot mode to int) that must stay defined.
    double number(const char *key, double low, double high) {
        if (!present(key)) {
            return low;
        }
        const std::string &text = values_.at(key);
        bool ok = false;
        const double value = QString::fromStdString(text).toDouble(&ok);
        if (!ok || !std::isfinite(value)) {
            refuse(key, "'" + text + "' is not a number");
            return low;
        }
        if (value < low || value > high) {
            refuse(key, text + " is outside " + shortText(low) + " to " + shortText(high));
            return low;
        }
        return value;
    }

    bool flag(const char *key) {
        if (!present(key)) {
            return false;
        }
        const std::string &text = values_.at(key);
        if (text != "true" && text != "false") {
            refuse(key, "'" + text + "' is neither true nor false");
        }
        return text == "true";
    }

    AxisSpan span(const char *minKey, const char *maxKey) {
        const AxisSpan span{number(minKey, -1e6, 1e6), number(maxKey, -1e6, 1e6)};
        if (!(span.min < span.max)) {
            refuse(maxKey, "the axis maximum is not above its minimum");
        }
        return span;
    }

    void format() {
        if (present(formatKey) && values_.at(formatKey) != setupFormat) {
            refuse(formatKey, "'" + values_.at(formatKey) + "' is not " + setupFormat);
        }
    }

    const std::optional<SetupRefusal> &refusal() const { return refusal_; }

  private:
    static std::string shortText(double value) { return QString::number(value).toStdString(); }

    bool present(const char *key) {
        if (values_.contains(key)) {
            return true;
        }
        refuse(key, "it is missing");
        return false;
    }

    // The first fault found is the one reported.
    void refuse(const char *key, std::string why) {
        if (!refusal_) {
            refusal_ = SetupRefusal{key, std::move(why)};
        }
    }

    const SetupValues &values_;
    std::optional<SetupRefusal> refusal_;
};

Calibration readCalibration(Reader &reader, const char *minKey, const char *midKey,
                            const char *maxKey) {
    return {reader.number(minKey, -fieldVolts, fieldVolts),
            reader.number(midKey, -fieldVolts, fieldVolts),
            reader.number(maxKey, -fieldVolts, fieldVolts)};
}

} // namespace

std::variant<Setup, SetupRefusal> readSetup(const SetupValues &values) {
    Reader reader(values);
    reader.format();
    Setup setup{};
    setup.x = readCalibration(reader, "calibration/xMin", "calibration/xMid", "calibration/xMax");
    setup.y = readCalibration(reader, "calibration/yMin", "calibration/yMid", "calibration/yMax");
    setup.refreshSeconds = reader.number("intervals/refresh", shortestInterval, longestInterval);
    setup.sampleSeconds = reader.number("intervals/sample", shortestInterval, longestInterval);
    setup.plotMode = static_cast<int>(reader.number("plot/mode", 0, plotModes - 1));
    setup.showRaw = reader.flag("plot/raw");
    setup.showCalibrated = reader.flag("plot/calibrated");
    setup.swap = reader.flag("plot/swap");
    setup.xAxis = reader.span("axes/xMin", "axes/xMax");
    setup.yAxis = reader.span("axes/yMin", "axes/yMax");
    if (reader.refusal()) {
        return *reader.refusal();
    }
    return setup;
}

SetupValues valuesOfSetup(const Setup &setup) {
    SetupValues values;
    const auto number = [&values](const char *key, double value) {
        values[key] = QString::number(value, 'g', 17).toStdString();
    };
    const auto flag = [&values](const char *key, bool value) {
        values[key] = value ? "true" : "false";
    };
    values[formatKey] = setupFormat;
    number("calibration/xMin", setup.x.min);
    number("calibration/xMid", setup.x.mid);
    number("calibration/xMax", setup.x.max);
    number("calibration/yMin", setup.y.min);
    number("calibration/yMid", setup.y.mid);
    number("calibration/yMax", setup.y.max);
    number("intervals/refresh", setup.refreshSeconds);
    number("intervals/sample", setup.sampleSeconds);
    number("plot/mode", setup.plotMode);
    flag("plot/raw", setup.showRaw);
    flag("plot/calibrated", setup.showCalibrated);
    flag("plot/swap", setup.swap);
    number("axes/xMin", setup.xAxis.min);
    number("axes/xMax", setup.xAxis.max);
    number("axes/yMin", setup.yAxis.min);
    number("axes/yMax", setup.yAxis.max);
    return values;
}

} // namespace zelbrin
