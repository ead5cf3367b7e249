// What the worker hands the library at the start of a scan: made from the setup on the
// window's thread, so the worker reads nothing the window may change.
#ifndef TOOLS_ORVEX_SCOPE_ACQUISITION_SCAN_PLAN_H
#define TOOLS_ORVEX_SCOPE_ACQUISITION_SCAN_PLAN_H

#include "core/scope_setup.h"
#include "core/waveform.h"

#include <vector>

namespace scope {

struct ScanInput {
    int input;
    double range;
    int terminal;
};

struct ScanPlan {
    std::vector<ScanInput> inputs;
    double rate = 1000.0;
    OutputBlock outputs;
    bool outputsOnScanClock = true;
    double outputRate = 1000.0;
    std::vector<int> linePorts; // read once per block
};

ScanPlan planOf(const ScopeSetup &setup);

} // namespace scope

#endif
