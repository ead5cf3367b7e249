// The configuration of `orvex record`: "key = value" lines, '#' comments and blank lines.
//
//     channels = ai0:3          # required, as `ai acquire` takes them
//     rate = 1000               # required, scans per second
//     range = 10                # repeatable: V for every channel, or ai3=0.1
//     terminal = ai3=diff       # repeatable: rse, nrse, diff, or CH=...
//     sample-type = f32         # or f64
//     directory = /var/lib/orvex
//     pattern = orvex-%Y%m%dT%H%M%SZ-%n.h5
//     rotate-seconds = 3600     # of board time; 0: never
//     rotate-bytes = 0          # of samples; 0: never
//     notes = stand 3, thermocouples on ai0:3
//     block = 0.1               # seconds of samples per read
//     duration = 0              # seconds of board time, then stop; 0: until SIGTERM
#ifndef TOOLS_ORVEX_CLI_RECORD_RECORD_CONFIG_H
#define TOOLS_ORVEX_CLI_RECORD_RECORD_CONFIG_H

#include "acquisition/acquisition.h"
#include "scan_recording.h"

#include <string>

namespace orvex_cli {

struct RecordConfig {
    AcquisitionRequest scan; // its channels, rate, timeout, and samples (0: no end)
    RecordingPlan plan;
    double block = 0.1;
};

// Throws UsageError, "FILE:LINE: ..." where a line is at fault, for an unknown, repeated
// or missing key or a bad value.
RecordConfig readRecordConfig(const std::string &path);

} // namespace orvex_cli

#endif
