// Clocked acquisition of one input channel, or a scan of several, streamed to a file
// through the library's continuous reads in fixed blocks, so memory stays bounded however
// long it runs.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_H
#define TOOLS_ORVEX_CLI_ACQUISITION_H

#include "core/session.h"
#include "in_step_output.h"
#include "sample_format.h"
#include "scan_channels.h"

#include <orvex.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvex_cli {

struct AcquisitionRequest {
    int channel = 0;
    // A scan's channels; empty for the library's clocked read of `channel` alone.
    std::vector<ScanChannel> scan;
    double rate = 0.0;         // per channel
    std::uint64_t samples = 0; // per channel
    // An input ("ai0") or a physical name, a PFI line for a scan; empty: start at once.
    std::string trigger;
    double level = 0.0;
    int slope = ORVEX_RISING;
    std::optional<InStepOutput> inStep; // started by the scan's start
    double timeout = 10.0; // longest wait for the trigger, and for a block beyond its length
    SampleFormat format = SampleFormat::Csv;
    std::string output = "-";
    std::string headerFile; // the binary formats' description, its sample count at the end
    bool float64 = false;   // HDF5 volts as float64 rather than float32
};

struct AcquisitionResult {
    std::uint64_t samples = 0; // per channel
    bool stopped = false;      // ended early by Ctrl-C or SIGTERM
};

// Throws UsageError for an output that cannot be created (before any board call), and
// CommandFailed for a board or file failure; whatever reached the file stays whole.
AcquisitionResult acquire(const AcquisitionRequest &request, Session &session);

} // namespace orvex_cli

#endif
