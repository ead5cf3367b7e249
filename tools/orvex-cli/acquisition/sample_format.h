// The acquisition file formats: text with one sample a line, or raw little-endian numbers.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_SAMPLE_FORMAT_H
#define TOOLS_ORVEX_CLI_ACQUISITION_SAMPLE_FORMAT_H

#include "output_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvex_cli {

enum class SampleFormat { Csv, Tsv, F64, F32 };

SampleFormat parseSampleFormat(std::string_view name); // one of "csv", "tsv", "f64", "f32"
bool isText(SampleFormat format);
const char *formatDescription(SampleFormat format);
// Bytes of one sample, or 0 for a text line.
std::size_t recordSize(SampleFormat format);

// Appends samples numbered from `firstIndex`: "index<sep>volts\n" for the text formats,
// volts with six decimals (microvolts).
void appendSamples(OutputFile &file, SampleFormat format, const double *volts, std::size_t count,
                   std::uint64_t firstIndex);

// Writes `volts` with six decimals at `out`; returns the end.  At most 32 characters.
char *formatVolts(char *out, double volts);

} // namespace orvex_cli

#endif
