// The acquisition file formats: text with one scan a line (a sample of each channel), or
// raw little-endian numbers, the channels of a scan interleaved; HDF5 files are the
// recording library's (record/).
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_SAMPLE_FORMAT_H
#define TOOLS_ORVEX_CLI_ACQUISITION_SAMPLE_FORMAT_H

#include "output_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvex_cli {

enum class SampleFormat { Csv, Tsv, F64, F32, H5 };

SampleFormat parseSampleFormat(std::string_view name); // one of "csv", "tsv", "f64", "f32", "h5"
bool isText(SampleFormat format);
const char *formatDescription(SampleFormat format);
// Bytes of one scan, or 0 for a text line.
std::size_t recordSize(SampleFormat format, std::size_t channels = 1);

// Appends `scans` scans of `channels` interleaved samples, numbered from `firstIndex`:
// "index<sep>volts<sep>volts...\n" for the text formats, volts with six decimals
// (microvolts).  The file counts scans.
void appendScans(OutputFile &file, SampleFormat format, const double *volts, std::size_t scans,
                 std::size_t channels, std::uint64_t firstIndex);

// Writes `volts` with six decimals at `out`; returns the end.  At most 32 characters.
char *formatVolts(char *out, double volts);

} // namespace orvex_cli

#endif
