#include "sample_format.h"

#include "core/tool_errors.h"
#include "core/values.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace orvex_cli {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the binary formats are written as the machine holds them");

constexpr std::size_t longestIndex = 21;
constexpr std::size_t longestValue = 33;
constexpr std::size_t binaryValuesPerPiece = 1 << 14;
constexpr std::size_t textValuesPerPiece = 4096;

char *formatLine(char *out, char separator, std::uint64_t index, const double *volts,
                 std::size_t channels) {
    out = std::to_chars(out, out + 20, index).ptr;
    for (std::size_t k = 0; k < channels; ++k) {
        *out++ = separator;
        out = formatVolts(out, volts[k]);
    }
    *out++ = '\n';
    return out;
}

// In pieces of whole scans, so a huge block never needs a buffer of its own size.
std::size_t scansPerPiece(std::size_t values, std::size_t channels) {
    return std::max<std::size_t>(1, values / channels);
}

template <typename Number>
void appendBinary(OutputFile &file, const double *volts, std::size_t scans, std::size_t channels) {
    for (std::size_t done = 0; done < scans;) {
        const std::size_t now =
            std::min(scans - done, scansPerPiece(binaryValuesPerPiece, channels));
        const std::size_t values = now * channels;
        const double *from = volts + done * channels;
        auto *out = reinterpret_cast<Number *>(file.reserve(values * sizeof(Number)));
        if constexpr (sizeof(Number) == sizeof(double)) {
            std::memcpy(out, from, values * sizeof(double));
        } else {
            for (std::size_t k = 0; k < values; ++k) {
                out[k] = static_cast<Number>(from[k]);
            }
        }
        file.commit(values * sizeof(Number), now);
        done += now;
    }
}

} // namespace

SampleFormat parseSampleFormat(std::string_view name) {
    if (name == "csv") {
        return SampleFormat::Csv;
    }
    if (name == "tsv") {
        return SampleFormat::Tsv;
    }
    if (name == "f64") {
        return SampleFormat::F64;
    }
    if (name == "f32") {
        return SampleFormat::F32;
    }
    if (name == "h5") {
        return SampleFormat::H5;
    }
    throw UsageError("format " + quotedEcho(name) + " is not one of csv, tsv, f64, f32, h5");
}

bool isText(SampleFormat format) {
    return format == SampleFormat::Csv || format == SampleFormat::Tsv;
}

const char *formatDescription(SampleFormat format) {
    switch (format) {
    case SampleFormat::Csv:
        return "csv";
    case SampleFormat::Tsv:
        return "tsv";
    case SampleFormat::F64:
        return "f64 (IEEE 754 double, little-endian)";
    case SampleFormat::F32:
        return "f32 (IEEE 754 float, little-endian)";
    case SampleFormat::H5:
        return "h5 (HDF5, docs/recording-format.md)";
    }
    return "";
}

std::size_t recordSize(SampleFormat format, std::size_t channels) {
    switch (format) {
    case SampleFormat::F64:
        return sizeof(double) * channels;
    case SampleFormat::F32:
        return sizeof(float) * channels;
    case SampleFormat::Csv:
    case SampleFormat::Tsv:
    case SampleFormat::H5:
        break;
    }
    return 0;
}

char *formatVolts(char *out, double volts) {
    // Whole microvolts through integer formatting: several times faster than printf, and
    // finer than the board's resolution.
    if (!(std::fabs(volts) < 1.0e12)) {
        return std::to_chars(out, out + 32, volts).ptr;
    }
    const double scaled = volts * 1.0e6;
    auto micro = static_cast<std::int64_t>(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5);
    if (micro < 0) {
        *out++ = '-';
        micro = -micro;
    }
    const auto magnitude = static_cast<std::uint64_t>(micro);
    out = std::to_chars(out, out + 20, magnitude / 1000000).ptr;
    *out++ = '.';
    std::uint64_t fraction = magnitude % 1000000;
    for (int digit = 5; digit >= 0; --digit) {
        out[digit] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return out + 6;
}

void appendScans(OutputFile &file, SampleFormat format, const double *volts, std::size_t scans,
                 std::size_t channels, std::uint64_t firstIndex) {
    switch (format) {
    case SampleFormat::F64:
        appendBinary<double>(file, volts, scans, channels);
        return;
    case SampleFormat::F32:
        appendBinary<float>(file, volts, scans, channels);
        return;
    case SampleFormat::H5:
        throw std::logic_error("HDF5 samples go to the recording library, not to a file");
    case SampleFormat::Csv:
    case SampleFormat::Tsv:
        break;
    }
    const char separator = format == SampleFormat::Csv ? ',' : '\t';
    const std::size_t longestLine = longestIndex + channels * longestValue;
    for (std::size_t done = 0; done < scans;) {
        const std::size_t now = std::min(scans - done, scansPerPiece(textValuesPerPiece, channels));
        char *const start = file.reserve(now * longestLine);
        char *end = start;
        for (std::size_t k = done; k < done + now; ++k) {
            end = formatLine(end, separator, firstIndex + k, volts + k * channels, channels);
        }
        file.commit(static_cast<std::size_t>(end - start), now);
        done += now;
    }
}

} // namespace orvex_cli
