/* The recording library for callers that cannot reach C++, such as Python's ctypes:
   liborvex_recording.so.0 writes recordings in the layout of docs/recording-format.md
   through recording::Recorder.

   A recording is described by a JSON object, whose keys follow recording::RecordingConfig:

     {"channels": [{"name": "ai0", "range": 10, "terminal": "RSE", "units": "V",
                    "scale": 1, "offset": 0, "calibration": {"volts_at_zero": 2.5}}],
      "interval": 0.001, "format": "float32",            (or "float64", "int16")
      "start": {"epoch": 1714564800.25, "source": "at start", "uncertainty": 0},
      "rotation": {"seconds": 3600, "bytes": 0},
      "directory": ".", "pattern": "run-%Y%m%dT%H%M%S.h5", "flush_seconds": 0.5,
      "provenance": {"board": "", "slot": 0, "driver": "", "program": "",
                     "program_version": "", "library_version": "", "host": "", "notes": ""},
      "texts": {"operator": "..."}, "numbers": {"channel_step": 2e-6}}

   Only "channels" and "interval" are needed; an unknown key is refused, so that a
   misspelt one is not silently left out.  The functions return a status: 0, or
   ORVEX_RECORDING_REFUSED for an argument the recording cannot take
   (nothing was written), or ORVEX_RECORDING_FAILED when the files cannot be written and
   the recording is over (what was flushed stays readable).  orvex_recordingError() then
   says why.  One thread at a time per recording. */
#ifndef TOOLS_RECORDING_INCLUDE_RECORDING_ORVEX_RECORDING_H
#define TOOLS_RECORDING_INCLUDE_RECORDING_ORVEX_RECORDING_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { ORVEX_RECORDING_REFUSED = -1, ORVEX_RECORDING_FAILED = -2 };

/* The kinds of the events table, by their stored values. */
enum {
    ORVEX_EVENT_START,
    ORVEX_EVENT_STOP,
    ORVEX_EVENT_TRIGGER,
    ORVEX_EVENT_DRIVER_ERROR,
    ORVEX_EVENT_RETRY,
    ORVEX_EVENT_GAP,
    ORVEX_EVENT_ROTATION
};

typedef struct orvex_Recording orvex_Recording;

/* Makes the recording's first file and sets `*recording`.  When the configuration is
   refused or the file cannot be made, `*recording` is NULL and `error` (errorSize bytes,
   always terminated) holds the reason. */
int orvex_recordingOpen(const char *configJson, orvex_Recording **recording, char *error,
                        size_t errorSize);

/* `count` scans, each one sample of every channel, in the configured format. */
int orvex_recordingAppendF32(orvex_Recording *recording, const float *scans, int64_t count);
int orvex_recordingAppendF64(orvex_Recording *recording, const double *scans, int64_t count);
int orvex_recordingAppendI16(orvex_Recording *recording, const int16_t *scans, int64_t count);

/* An ORVEX_EVENT_ kind at `sampleIndex` of the whole recording (-1: the samples appended
   so far); `duration` counts the samples missing, for a gap. */
int orvex_recordingEvent(orvex_Recording *recording, int kind, int64_t sampleIndex, int32_t code,
                         int64_t duration, const char *text);

/* Ends the current file after the samples appended so far. */
int orvex_recordingRotate(orvex_Recording *recording);
/* Makes everything appended so far readable, and safe against a crash. */
int orvex_recordingFlush(orvex_Recording *recording);
/* Records the stop event and closes the last file; the handle stays for the calls below
   until orvex_recordingFree(). */
int orvex_recordingClose(orvex_Recording *recording);

int64_t orvex_recordingSamples(const orvex_Recording *recording);
/* The files written so far, oldest first; NULL past the last. */
const char *orvex_recordingFile(const orvex_Recording *recording, int64_t index);
/* Why the last call failed; empty when none did. */
const char *orvex_recordingError(const orvex_Recording *recording);

/* Closes a recording that is still open without a word (call orvex_recordingClose to
   hear of a failure) and releases the handle; NULL is let through. */
void orvex_recordingFree(orvex_Recording *recording);

#ifdef __cplusplus
}
#endif

#endif
