// What an acquisition file says about its samples: the '#' lines of the text formats and
// the `--header` file of the raw ones (channels, ranges, rate, start time, board), and the
// names of the text formats' columns.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_DESCRIPTION_H
#define TOOLS_ORVEX_CLI_ACQUISITION_DESCRIPTION_H

#include "acquisition.h"
#include "sample_source.h"

#include <chrono>
#include <optional>
#include <string>

namespace orvex_cli {

// Each line "<prefix>key: value".  A scan's timing is known once its first sample is;
// without it the start reads "unknown".
std::string describeAcquisition(const AcquisitionRequest &request, const Session &session,
                                const std::optional<ScanTiming> &timing, const char *prefix);

// The raw formats' layout: the sample type and, for a scan, the interleaving.
std::string describeLayout(const AcquisitionRequest &request);

// "sample,volts", or for a scan "sample,ai0 ±10 V rse,ai3 ±0.1 V diff".
std::string columnNames(const AcquisitionRequest &request, char separator);

// The closing line of a raw file's description: "samples: N", or for a scan
// "samples per channel: N".
std::string describeCount(const AcquisitionRequest &request, std::uint64_t samples);

// "2026-12-07T10:00:00Z", with `decimals` digits of the second (0 or 6).
std::string utcText(std::chrono::system_clock::time_point at, int decimals);

} // namespace orvex_cli

#endif
