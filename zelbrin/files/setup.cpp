#include "setup.h"

#include "callbacks/analog_monitor.h"
#include "uiruntime/userint.h"
#include "window/axis_titles.h"
#include "window/panel_frame.h"

#include <QSettings>
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
    explicit Reader(const QSettings &store) : store_(store) {}

    double number(const char *key, double low, double high) {
        if (!present(key)) {
            return 0.0;
        }
        const QString text = store_.value(key).toString();
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || !std::isfinite(value)) {
            refuse(key, "'" + text.toStdString() + "' is not a number");
        } else if (value < low || value > high) {
            refuse(key,
                   text.toStdString() + " is outside " + shortText(low) + " to " + shortText(high));
        }
        return value;
    }

    bool flag(const char *key) {
        const QString text = store_.value(key).toString();
        if (present(key) && text != QLatin1String("true") && text != QLatin1String("false")) {
            refuse(key, "'" + text.toStdString() + "' is neither true nor false");
        }
        return text == QLatin1String("true");
    }

    AxisSpan span(const char *minKey, const char *maxKey) {
        const AxisSpan span{number(minKey, -1e6, 1e6), number(maxKey, -1e6, 1e6)};
        if (!(span.min < span.max)) {
            refuse(maxKey, "the axis maximum is not above its minimum");
        }
        return span;
    }

    void format() {
        const QString text = store_.value(formatKey).toString();
        if (present(formatKey) && text != QLatin1String(setupFormat)) {
            refuse(formatKey, "'" + text.toStdString() + "' is not " + setupFormat);
        }
    }

    const std::optional<SetupRefusal> &refusal() const { return refusal_; }

  private:
    static std::string shortText(double value) { return QString::number(value).toStdString(); }

    bool present(const char *key) {
        if (store_.contains(key)) {
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

    const QSettings &store_;
    std::optional<SetupRefusal> refusal_;
};

Calibration readCalibration(Reader &reader, const char *minKey, const char *midKey,
                            const char *maxKey) {
    return {reader.number(minKey, -fieldVolts, fieldVolts),
            reader.number(midKey, -fieldVolts, fieldVolts),
            reader.number(maxKey, -fieldVolts, fieldVolts)};
}

double doubleOf(int panel, int control) {
    double value = 0.0;
    GetCtrlVal(panel, control, &value);
    return value;
}

int intOf(int panel, int control) {
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

AxisSpan axisOf(int panel, int axis) {
    int mode = 0;
    AxisSpan span{0.0, 0.0};
    GetAxisScalingMode(panel, PANEL_GRAPH, axis, &mode, &span.min, &span.max);
    return span;
}

void showCalibration(int panel, const Calibration &cal, int minField, int midField, int maxField) {
    SetCtrlVal(panel, minField, cal.min);
    SetCtrlVal(panel, midField, cal.mid);
    SetCtrlVal(panel, maxField, cal.max);
}

void setInterval(int panel, int field, int timer, double seconds) {
    SetCtrlVal(panel, field, seconds);
    SetCtrlAttribute(panel, timer, ATTR_INTERVAL, seconds);
}

} // namespace

std::variant<Setup, SetupRefusal> readSetup(const QSettings &store) {
    Reader reader(store);
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

void writeSetup(QSettings &store, const Setup &setup) {
    const auto number = [&store](const char *key, double value) {
        store.setValue(key, QString::number(value, 'g', 17));
    };
    const auto flag = [&store](const char *key, bool value) {
        store.setValue(key, value ? "true" : "false");
    };
    store.setValue(formatKey, setupFormat);
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
}

Setup setupOfWindow(int panel) {
    return {calX,
            calY,
            doubleOf(panel, PANEL_GUI_INTERVAL),
            doubleOf(panel, PANEL_AI_INTERVAL),
            intOf(panel, PANEL_PLOT_MODE),
            intOf(panel, PANEL_SHOW_RAW) != 0,
            intOf(panel, PANEL_SHOW_NORM) != 0,
            intOf(panel, PANEL_SWAP) != 0,
            axisOf(panel, VAL_XAXIS),
            axisOf(panel, VAL_LEFT_YAXIS)};
}

void applySetup(int panel, const Setup &setup) {
    calX = setup.x;
    calY = setup.y;
    showCalibration(panel, setup.x, PANEL_X_MIN, PANEL_X_MID, PANEL_X_MAX);
    showCalibration(panel, setup.y, PANEL_Y_MIN, PANEL_Y_MID, PANEL_Y_MAX);
    setInterval(panel, PANEL_GUI_INTERVAL, PANEL_GUI_TIMER, setup.refreshSeconds);
    setInterval(panel, PANEL_AI_INTERVAL, PANEL_AI_TIMER, setup.sampleSeconds);
    SetCtrlVal(panel, PANEL_PLOT_MODE, setup.plotMode);
    SetCtrlVal(panel, PANEL_SHOW_RAW, setup.showRaw ? 1 : 0);
    SetCtrlVal(panel, PANEL_SHOW_NORM, setup.showCalibrated ? 1 : 0);
    SetCtrlVal(panel, PANEL_SWAP, setup.swap ? 1 : 0);
    SetAxisScalingMode(panel, PANEL_GRAPH, VAL_XAXIS, VAL_MANUAL, setup.xAxis.min, setup.xAxis.max);
    SetAxisScalingMode(panel, PANEL_GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, setup.yAxis.min,
                       setup.yAxis.max);
    showAxisTitles(panel);
}

} // namespace zelbrin
