#include "scan_plan.h"

namespace scope {

ScanPlan planOf(const ScopeSetup &setup) {
    ScanPlan plan;
    for (const int input : setup.enabledInputs()) {
        const ChannelSetup &channel = setup.channels[static_cast<std::size_t>(input)];
        plan.inputs.push_back({input, channel.range, channel.terminal});
    }
    plan.rate = setup.rate;
    plan.outputsOnScanClock = setup.outputsOnScanClock;
    plan.outputRate = setup.outputRate;
    plan.linePorts = setup.linePortsRead();
    std::array<std::vector<double>, outputCount> files;
    for (std::size_t k = 0; k < files.size(); ++k) {
        if (setup.outputs[k].enabled && setup.outputs[k].waveform == Waveform::File) {
            files[k] = readValuesFile(setup.outputs[k].file);
        }
    }
    plan.outputs =
        outputBlock(setup.outputs, setup.outputsOnScanClock ? setup.rate : setup.outputRate, files);
    return plan;
}

} // namespace scope
