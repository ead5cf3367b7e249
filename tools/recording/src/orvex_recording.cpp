#include <recording/orvex_recording.h>
#include <recording/recorder.h>

#include "config_json.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

struct orvex_Recording {
    std::unique_ptr<recording::Recorder> recorder;
    std::string error;
};

namespace {

using recording::EventKind;

// Runs a step and turns what it throws into a status and its text: a refusal (a bad
// argument, a call after close) leaves the recording as it was; any other failure ends
// it, as the Recorder itself does.
template <typename Step> int statusOf(std::string &error, Step step) {
    try {
        error.clear();
        step();
        return 0;
    } catch (const recording::RecordingError &failure) {
        error = failure.what();
        return ORVEX_RECORDING_FAILED;
    } catch (const std::logic_error &refusal) {
        error = refusal.what();
        return ORVEX_RECORDING_REFUSED;
    } catch (const std::exception &failure) {
        error = failure.what();
        return ORVEX_RECORDING_FAILED;
    }
}

template <typename Step> int guarded(orvex_Recording *handle, Step step) {
    if (handle == nullptr) {
        return ORVEX_RECORDING_REFUSED;
    }
    return statusOf(handle->error, [&] { step(*handle->recorder); });
}

template <typename Sample>
int append(orvex_Recording *handle, const Sample *scans, std::int64_t count) {
    return guarded(handle, [&](recording::Recorder &recorder) {
        if (count < 0 || (count > 0 && scans == nullptr)) {
            throw std::invalid_argument("recording: no scans to append");
        }
        recorder.append(scans, static_cast<std::size_t>(count));
    });
}

} // namespace

extern "C" {

int orvex_recordingOpen(const char *configJson, orvex_Recording **recording, char *error,
                        size_t errorSize) {
    if (recording != nullptr) {
        *recording = nullptr;
    }
    std::string reason;
    const int status = statusOf(reason, [&] {
        if (recording == nullptr || configJson == nullptr) {
            throw std::invalid_argument("recording: no configuration, or nowhere to put it");
        }
        auto handle = std::make_unique<orvex_Recording>();
        handle->recorder =
            std::make_unique<recording::Recorder>(recording::configFromJson(configJson));
        *recording = handle.release();
    });
    if (error != nullptr && errorSize > 0) {
        const std::size_t size = std::min(reason.size(), errorSize - 1);
        std::memcpy(error, reason.data(), size);
        error[size] = '\0';
    }
    return status;
}

int orvex_recordingAppendF32(orvex_Recording *recording, const float *scans, int64_t count) {
    return append(recording, scans, count);
}

int orvex_recordingAppendF64(orvex_Recording *recording, const double *scans, int64_t count) {
    return append(recording, scans, count);
}

int orvex_recordingAppendI16(orvex_Recording *recording, const int16_t *scans, int64_t count) {
    return append(recording, scans, count);
}

int orvex_recordingEvent(orvex_Recording *recording, int kind, int64_t sampleIndex, int32_t code,
                         int64_t duration, const char *text) {
    return guarded(recording, [&](recording::Recorder &recorder) {
        if (kind < ORVEX_EVENT_START || kind > ORVEX_EVENT_ROTATION) {
            throw std::invalid_argument("recording: no event kind " + std::to_string(kind));
        }
        recorder.event({static_cast<EventKind>(kind), sampleIndex, code,
                        text != nullptr ? text : "", duration});
    });
}

int orvex_recordingRotate(orvex_Recording *recording) {
    return guarded(recording, [](recording::Recorder &recorder) { recorder.rotateNow(); });
}

int orvex_recordingFlush(orvex_Recording *recording) {
    return guarded(recording, [](recording::Recorder &recorder) { recorder.flush(); });
}

int orvex_recordingClose(orvex_Recording *recording) {
    return guarded(recording, [](recording::Recorder &recorder) { recorder.close(); });
}

int64_t orvex_recordingSamples(const orvex_Recording *recording) {
    return recording != nullptr ? recording->recorder->samplesAppended() : 0;
}

const char *orvex_recordingFile(const orvex_Recording *recording, int64_t index) {
    if (recording == nullptr || index < 0) {
        return nullptr;
    }
    const auto &files = recording->recorder->files();
    return static_cast<std::size_t>(index) < files.size()
               ? files[static_cast<std::size_t>(index)].c_str()
               : nullptr;
}

const char *orvex_recordingError(const orvex_Recording *recording) {
    return recording != nullptr ? recording->error.c_str() : "no recording";
}

void orvex_recordingFree(orvex_Recording *recording) {
    delete recording;
}
}
