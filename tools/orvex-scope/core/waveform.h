// The generator's block: the samples of ao0 and ao1 that the board regenerates for as long
// as the scan runs, so it holds whole periods of every periodic output.
#ifndef TOOLS_ORVEX_SCOPE_CORE_WAVEFORM_H
#define TOOLS_ORVEX_SCOPE_CORE_WAVEFORM_H

#include "scope_setup.h"

#include <string>
#include <vector>

namespace scope {

struct OutputBlock {
    std::string channels;     // "ao0", "ao1", "ao0:1", or empty for none
    std::vector<double> data; // grouped by channel, volts within ±10
    int samplesPerChannel = 0;
};

// fileValues: the values of each output's file (empty unless its waveform is File).
OutputBlock outputBlock(const std::array<OutputSetup, outputCount> &outputs, double rate,
                        const std::array<std::vector<double>, outputCount> &fileValues);

// Volts, one a line; blank lines and lines starting with # are passed over.  Empty when
// the file cannot be read or a line is not a number.
std::vector<double> readValuesFile(const std::string &path);

} // namespace scope

#endif
