#include "recording.h"

#include "callbacks/analog_monitor.h"
#include "callbacks/digital_panel.h"
#include "hdf5_recording.h"
#include "logic/port_lines.h"
#include "recording_file.h"
#include "uiruntime/userint.h"
#include "window/message_line.h"
#include "window/panel_frame.h"
#include <orvex.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace zelbrin {

namespace {

struct Recording {
    std::unique_ptr<RecordingFile> file;
    std::string path;
    std::chrono::steady_clock::time_point start;
    // Started from the command line: nobody may be watching the window.
    bool unattended = false;
};

Recording recording;

double fieldValue(int panel, int field) {
    double value = 0.0;
    GetCtrlVal(panel, field, &value);
    return value;
}

RecordingStart startFromWindow(int panel) {
    int swapped = 0;
    GetCtrlVal(panel, PANEL_SWAP, &swapped);
    return {std::chrono::system_clock::now(),
            calX,
            calY,
            swapped != 0,
            fieldValue(panel, PANEL_AI_INTERVAL),
            fieldValue(panel, PANEL_GUI_INTERVAL),
            orvex_driverLibrary(),
            boardSlot};
}

std::optional<std::uint8_t> portAsShown(int port) {
    if (!portByteKnown(port)) {
        return std::nullopt;
    }
    return portByte(portBits, port);
}

void switchOff(int panel) {
    SetCtrlVal(panel, PANEL_RECORD, 0);
}

void tellProblem(int panel, const std::string &text) {
    showMessage(panel, text, MessageKind::Problem);
    if (recording.unattended) {
        std::fprintf(stderr, "Zelbrin: %s\n", text.c_str());
    }
}

std::string stoppedText(const RecordingFile &file) {
    return "Recording stopped: " + recording.path + ": " + file.error() + ". The " +
           std::to_string(file.rows()) + " rows written before are kept.";
}

bool start(int panel, const std::string &path) {
    recording.path = path;
    recording.start = std::chrono::steady_clock::now();
    std::string why;
    recording.file = openRecordingFile(path, startFromWindow(panel), why);
    if (!recording.file) {
        switchOff(panel);
        tellProblem(panel, "Cannot record to " + path + ": " + why + ".");
        return false;
    }
    showMessage(panel, "Recording to " + path + ".", MessageKind::Note);
    return true;
}

void startChosen(int panel) {
    const char *filter = hdf5RecordingBuilt
                             ? "CSV files (*.csv);;HDF5 files (*.h5 *.hdf5);;All files (*)"
                             : "CSV files (*.csv);;All files (*)";
    char path[filePathSize];
    if (FileSelectPopup("Record to a file", filter, 1, path, filePathSize) != 1) {
        switchOff(panel);
        showMessage(panel, "Recording not started: no file chosen.", MessageKind::Note);
        return;
    }
    recording.unattended = false;
    start(panel, path);
}

void stop(int panel) {
    if (!recording.file) {
        return;
    }
    const std::unique_ptr<RecordingFile> file = std::move(recording.file);
    if (!file->close()) {
        tellProblem(panel, stoppedText(*file));
        return;
    }
    showMessage(panel,
                "Recorded " + std::to_string(file->rows()) + " rows to " + recording.path + ".",
                MessageKind::Note);
}

} // namespace

void recordSample(int panel, const RecordedSample &sample) {
    if (!recording.file) {
        return;
    }
    const std::chrono::duration<double> elapsed =
        std::chrono::steady_clock::now() - recording.start;
    const RecordedTick tick{elapsed.count(), sample.ai2,     sample.ai3,    sample.x,
                            sample.y,        portAsShown(0), portAsShown(1)};
    if (recording.file->append(tick)) {
        return;
    }
    const std::unique_ptr<RecordingFile> file = std::move(recording.file);
    switchOff(panel);
    tellProblem(panel, stoppedText(*file));
}

void recordFromStart(int panel, const std::string &path) {
    recording.unattended = true;
    if (start(panel, path)) {
        SetCtrlVal(panel, PANEL_RECORD, 1);
    }
}

void stopRecording() {
    if (recording.file && !recording.file->close()) {
        std::fprintf(stderr, "Zelbrin: %s\n", stoppedText(*recording.file).c_str());
    }
    recording.file.reset();
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
        startChosen(panel);
    } else {
        stop(panel);
    }
    return 0;
}
