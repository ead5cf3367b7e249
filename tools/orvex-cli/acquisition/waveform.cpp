#include "waveform.h"

#include "core/line_reader.h"
#include "core/tool_errors.h"
#include "core/values.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvex_cli {
namespace {

constexpr std::size_t largestBlock = 1000000;
constexpr double outputLimit = 10.0;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

WaveShape parseWaveShape(WaveKind kind, std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (fields.size() < 2 || fields.size() > 3) {
        throw UsageError("wave " + quotedEcho(text) + " is not FREQ,AMPL[,OFFSET]");
    }
    WaveShape shape;
    shape.kind = kind;
    shape.frequency = parsePositive(fields[0], "frequency");
    shape.amplitude = parseNumber(fields[1], "amplitude");
    shape.offset = fields.size() == 3 ? parseNumber(fields[2], "offset") : 0.0;
    return shape;
}

std::vector<double> periodicBlock(const WaveShape &shape, double rate) {
    if (shape.frequency > rate / 2.0) {
        throw UsageError("a frequency above half the rate cannot be generated");
    }
    const double perPeriod = rate / shape.frequency;
    if (perPeriod > largestBlock) {
        throw UsageError("one period at this rate needs more than a million samples");
    }
    // The number of periods whose length in samples is nearest to a whole number.
    std::size_t periods = 1;
    double bestError = 2.0;
    for (std::size_t p = 1; static_cast<double>(p) * perPeriod <= largestBlock; ++p) {
        const double length = static_cast<double>(p) * perPeriod;
        const double error = std::fabs(length - std::round(length)) / length;
        if (error < bestError && std::round(length) >= 2.0) {
            bestError = error;
            periods = p;
            if (error < 1e-12) {
                break;
            }
        }
    }
    const auto length = static_cast<std::size_t>(
        std::max(2.0, std::round(static_cast<double>(periods) * perPeriod)));
    std::vector<double> block(length);
    for (std::size_t k = 0; k < length; ++k) {
        const double phase =
            static_cast<double>(periods) * static_cast<double>(k) / static_cast<double>(length);
        const double unit = shape.kind == WaveKind::Sine
                                ? std::sin(2.0 * std::numbers::pi * phase)
                                : (phase - std::floor(phase) < 0.5 ? 1.0 : -1.0);
        block[k] = shape.offset + shape.amplitude * unit;
    }
    return block;
}

std::vector<double> readWaveFile(const std::string &path) {
    LineReader file(path, "wave file", false);
    std::vector<double> block;
    std::string line;
    while (file.next(line)) {
        const std::string_view value = trimmed(std::string_view(line).substr(0, line.find('#')));
        if (value.empty()) {
            continue;
        }
        if (block.size() == largestBlock) {
            throw UsageError(file.place() + "more than " + std::to_string(largestBlock) +
                             " voltages");
        }
        try {
            block.push_back(parseNumber(value, "voltage"));
        } catch (const UsageError &error) {
            throw UsageError(file.place() + error.what());
        }
    }
    if (block.empty()) {
        throw UsageError("wave file " + file.name() + " holds no voltage");
    }
    return block;
}

void checkOutputRange(const std::vector<double> &block) {
    for (const double volts : block) {
        if (std::fabs(volts) > outputLimit) {
            throw UsageError("the wave reaches " + std::to_string(volts) +
                             " V, outside the outputs' -10 to +10 V");
        }
    }
}

} // namespace orvex_cli
