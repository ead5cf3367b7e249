#include "recording.h"

#include "callbacks/analog_monitor.h"
#include "callbacks/digital_panel.h"
#include "csv_file.h"
#include "logic/port_lines.h"
#include "uiruntime/userint.h"
#include "window/message_line.h"
#include "window/panel_frame.h"
#include <orvex.h>

#include <QDateTime>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

namespace zelbrin {

namespace {

constexpr const char *csvColumns =
    "time_s,ai2_V,ai3_V,x_calibrated,y_calibrated,port0_bits_7to0,port1_bits_7to0\n";

struct Recording {
    CsvFile file;
    std::string path;
    std::chrono::steady_clock::time_point start;
};

Recording recording;

double fieldValue(int panel, int field) {
    double value = 0.0;
    GetCtrlVal(panel, field, &value);
    return value;
}

std::string header(int panel) {
    char text[512];
    int swapped = 0;
    GetCtrlVal(panel, PANEL_SWAP, &swapped);
    std::snprintf(text, sizeof text,
                  "# Zelbrin recording, started %s\n"
                  "# calibration (min, centre, max): X %.4f, %.4f, %.4f V; Y %.4f, %.4f, %.4f V\n"
                  "# intervals: sampling %.3f s, refresh %.3f s\n"
                  "# driver: %s; board slot %d\n"
                  "# X is %s, Y is %s\n",
                  QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8().constData(), calX.min,
                  calX.mid, calX.max, calY.min, calY.mid, calY.max,
                  fieldValue(panel, PANEL_AI_INTERVAL), fieldValue(panel, PANEL_GUI_INTERVAL),
                  orvex_driverLibrary(), boardSlot, swapped ? "AI3" : "AI2",
                  swapped ? "AI2" : "AI3");
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

std::string portBitsText(int port) {
    if (!portByteKnown(port)) {
        return "";
    }
    const std::uint8_t byte = portByte(portBits, port);
    std::string bits;
    for (int bit = linesPerPort - 1; bit >= 0; --bit) {
        bits += ((byte >> bit) & 1) ? '1' : '0';
    }
    return bits;
}

std::string row(const RecordedSample &s) {
    const std::chrono::duration<double> elapsed =
        std::chrono::steady_clock::now() - recording.start;
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", elapsed.count());
    return std::string(time) + ',' + number(s.ai2) + ',' + number(s.ai3) + ',' + number(s.x) + ',' +
           number(s.y) + ',' + portBitsText(0) + ',' + portBitsText(1) + '\n';
}

void switchOff(int panel) {
    SetCtrlVal(panel, PANEL_RECORD, 0);
}

void start(int panel) {
    char path[filePathSize];
    if (FileSelectPopup("Record to CSV file", "CSV files (*.csv);;All files (*)", 1, path,
                        filePathSize) != 1) {
        switchOff(panel);
        showMessage(panel, "Recording not started: no file chosen.", MessageKind::Note);
        return;
    }
    recording.path = path;
    recording.start = std::chrono::steady_clock::now();
    if (!recording.file.open(path, header(panel))) {
        switchOff(panel);
        showMessage(panel,
                    "Cannot record to " + recording.path + ": " + recording.file.error() + ".",
                    MessageKind::Problem);
        return;
    }
    showMessage(panel, "Recording to " + recording.path + ".", MessageKind::Note);
}

void stop(int panel) {
    if (!recording.file.isOpen()) {
        return;
    }
    recording.file.close();
    showMessage(panel,
                "Recorded " + std::to_string(recording.file.rows()) + " rows to " + recording.path +
                    ".",
                MessageKind::Note);
}

} // namespace

void recordSample(int panel, const RecordedSample &sample) {
    if (!recording.file.isOpen() || recording.file.append(row(sample))) {
        return;
    }
    switchOff(panel);
    showMessage(panel,
                "Recording stopped: " + recording.path + ": " + recording.file.error() + ". The " +
                    std::to_string(recording.file.rows()) + " rows written before are kept.",
                MessageKind::Problem);
}

void stopRecording() {
    recording.file.close();
}

} // namespace zelbrin

using namespace zelbrin;

int recordCB(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    int on = 0;
    GetCtrlVal(panel, control, &on);
    if (on) {
        start(panel);
    } else {
        stop(panel);
    }
    return 0;
}
