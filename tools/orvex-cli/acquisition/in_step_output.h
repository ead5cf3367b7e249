// The outputs armed with `ao generate --in-step`, made into the one block that the
// library's orvex_scanOutput() takes for ao0, ao1 or both.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_IN_STEP_OUTPUT_H
#define TOOLS_ORVEX_CLI_ACQUISITION_IN_STEP_OUTPUT_H

#include "core/session.h"

#include <string>
#include <vector>

namespace orvex_cli {

struct InStepOutput {
    std::string channels;     // "ao0", "ao1" or "ao0:1"
    std::vector<double> data; // grouped by channel
    int samplesPerChannel = 0;
    bool shareClock = false;
    double rate = 0.0;
    std::string description; // "ao0 sine 100,2 on the scan's sample clock"
};

// Throws UsageError when the generations disagree on their clock, or a wave cannot be
// made at the rate.  Two blocks of different lengths are each repeated to a common one.
InStepOutput inStepOutput(std::vector<InStepGeneration> generations, double scanRate);

} // namespace orvex_cli

#endif
