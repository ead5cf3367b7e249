// A scan's channel list as the user writes it ("ai0:3,ai8"), with the --range and
// --terminal options that set every channel or one ("10", "ai3=0.1", "ai3=diff"),
// checked against the board's figures before any board call.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_SCAN_CHANNELS_H
#define TOOLS_ORVEX_CLI_ACQUISITION_SCAN_CHANNELS_H

#include <orvex.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvex_cli {

constexpr int scanInputs = 16;
constexpr double largestRange = 10.0;

struct ScanChannel {
    int input = 0;
    double range = largestRange; // volts either side of 0, as asked
    int terminal = ORVEX_RSE;
};

// Throws UsageError for an unknown channel, one listed twice, a differential partner in
// the list, a differential input above ai7, a range not above 0 or above 10 V, an
// unknown terminal, or an option naming a channel that is not in the list.
std::vector<ScanChannel> parseScanChannels(std::string_view list,
                                           const std::vector<std::string> &ranges,
                                           const std::vector<std::string> &terminals);

// Throws UsageError for a rate the board refuses: 1.25 MS/s for one channel, 1.00 MS/s in
// all for several.
void checkScanRate(double rate, std::size_t channels);

std::string inputName(int input); // "ai3"
// The board's range that the asked one is widened to: ±10, 5, 2, 1, 0.5, 0.2 or 0.1 V.
double boardRange(double range);
const char *terminalName(int terminal); // "rse", "nrse", "diff"
// "ai3 ±0.1 V diff": a column's name.
std::string channelLabel(const ScanChannel &channel);

} // namespace orvex_cli

#endif
