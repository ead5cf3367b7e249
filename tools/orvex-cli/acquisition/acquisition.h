// Clocked acquisition of one input channel, streamed to a file through the library's
// continuous fetch in fixed blocks, so memory stays bounded however long it runs.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_H
#define TOOLS_ORVEX_CLI_ACQUISITION_H

#include "core/session.h"
#include "sample_format.h"

#include <cstdint>
#include <string>

namespace orvex_cli {

struct AcquisitionRequest {
    int channel = 0;
    double rate = 0.0;
    std::uint64_t samples = 0;
    std::string trigger; // an input ("ai0") or a physical name; empty: start at once
    double level = 0.0;
    double timeout = 10.0; // longest wait for the trigger, and for a block beyond its length
    SampleFormat format = SampleFormat::Csv;
    std::string output = "-";
    std::string headerFile; // the binary formats' description, its sample count at the end
};

struct AcquisitionResult {
    std::uint64_t samples = 0;
    bool stopped = false; // ended early by Ctrl-C or SIGTERM
};

// Throws UsageError for an output that cannot be created (before any board call), and
// CommandFailed for a board or file failure; whatever reached the file stays whole.
AcquisitionResult acquire(const AcquisitionRequest &request, Session &session);

} // namespace orvex_cli

#endif
