#include "scan_channels.h"

#include "core/tool_errors.h"
#include "core/values.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

namespace orvex_cli {
namespace {

constexpr std::array<double, 7> boardRanges = {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0};
constexpr int differentialPairs = 8;
constexpr double singleChannelLimit = 1.25e6;
constexpr double aggregateLimit = 1.0e6;

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

int parseInput(std::string_view text) {
    return parseChannel(text, "ai", scanInputs);
}

// "ai0:3", "0:3", "ai3:ai0": the inputs from the first to the last, either way round.
void appendEntry(std::string_view entry, std::vector<int> &inputs) {
    const auto colon = entry.find(':');
    if (colon == std::string_view::npos) {
        inputs.push_back(parseInput(entry));
        return;
    }
    const int first = parseInput(entry.substr(0, colon));
    const int last = parseInput(entry.substr(colon + 1));
    const int step = first <= last ? 1 : -1;
    for (int input = first; input != last + step; input += step) {
        inputs.push_back(input);
    }
}

double parseRange(std::string_view text) {
    const double range = parseNumber(text, "range");
    if (range <= 0.0 || range > largestRange) {
        throw UsageError("range " + quotedEcho(text) +
                         " is not above 0 V and at most 10 V (the board measures within ±10 V)");
    }
    return range;
}

int parseTerminal(std::string_view text) {
    if (text == "rse") {
        return ORVEX_RSE;
    }
    if (text == "nrse") {
        return ORVEX_NRSE;
    }
    if (text == "diff") {
        return ORVEX_DIFF;
    }
    throw UsageError("terminal " + quotedEcho(text) + " is not rse, nrse or diff");
}

// Applies each "VALUE" (every channel) and "CH=VALUE" (one) of an option, every-channel
// ones first so that "--range ai3=0.1 --range 10" still gives ai3 its own.
template <typename Parse, typename Set>
void applyOption(const char *option, const std::vector<std::string> &values,
                 std::vector<ScanChannel> &channels, Parse parse, Set set) {
    std::optional<std::string_view> everyChannel;
    for (const std::string &value : values) {
        if (value.find('=') == std::string::npos) {
            if (everyChannel) {
                throw UsageError(std::string(option) + " for every channel is given twice");
            }
            everyChannel = value;
        }
    }
    if (everyChannel) {
        const auto parsed = parse(*everyChannel);
        for (ScanChannel &channel : channels) {
            set(channel, parsed);
        }
    }
    std::vector<int> named;
    for (const std::string_view value : values) {
        const auto equals = value.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const int input = parseInput(value.substr(0, equals));
        const auto channel = std::find_if(channels.begin(), channels.end(),
                                          [&](const ScanChannel &c) { return c.input == input; });
        if (channel == channels.end()) {
            throw UsageError(std::string(option) + " " + quotedEcho(value) + ": " +
                             inputName(input) + " is not in the channel list");
        }
        if (std::find(named.begin(), named.end(), input) != named.end()) {
            throw UsageError(std::string(option) + " for " + inputName(input) + " is given twice");
        }
        named.push_back(input);
        set(*channel, parse(value.substr(equals + 1)));
    }
}

void checkDifferentialPairs(const std::vector<ScanChannel> &channels) {
    for (const ScanChannel &channel : channels) {
        if (channel.terminal != ORVEX_DIFF) {
            continue;
        }
        if (channel.input >= differentialPairs) {
            throw UsageError(inputName(channel.input) +
                             " cannot be differential: the pairs are ai0 to ai7, each against the "
                             "input 8 above it");
        }
        const int partner = channel.input + differentialPairs;
        if (std::any_of(channels.begin(), channels.end(),
                        [&](const ScanChannel &c) { return c.input == partner; })) {
            throw UsageError(inputName(partner) + " is the differential partner of " +
                             inputName(channel.input) + ", so it cannot be in the list too");
        }
    }
}

std::string volts(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

std::vector<ScanChannel> parseScanChannels(std::string_view list,
                                           const std::vector<std::string> &ranges,
                                           const std::vector<std::string> &terminals) {
    std::vector<int> inputs;
    for (const std::string_view entry : split(list, ',')) {
        if (entry.empty()) {
            throw UsageError("channel list " + quotedEcho(list) + " has an empty entry");
        }
        appendEntry(entry, inputs);
    }
    std::vector<ScanChannel> channels;
    for (const int input : inputs) {
        if (std::any_of(channels.begin(), channels.end(),
                        [&](const ScanChannel &c) { return c.input == input; })) {
            throw UsageError(inputName(input) + " is in the channel list twice");
        }
        channels.push_back({input, largestRange, ORVEX_RSE});
    }
    applyOption("--range", ranges, channels, parseRange,
                [](ScanChannel &channel, double range) { channel.range = range; });
    applyOption("--terminal", terminals, channels, parseTerminal,
                [](ScanChannel &channel, int terminal) { channel.terminal = terminal; });
    checkDifferentialPairs(channels);
    return channels;
}

void checkScanRate(double rate, std::size_t channels) {
    if (channels == 1 && rate > singleChannelLimit) {
        throw UsageError("rate " + volts(rate) +
                         " S/s is above the board's 1.25 MS/s for a scan of one channel");
    }
    if (channels > 1 && rate * static_cast<double>(channels) > aggregateLimit) {
        throw UsageError(std::to_string(channels) + " channels at " + volts(rate) + " S/s are " +
                         volts(rate * static_cast<double>(channels) / 1e6) +
                         " MS/s in all, above the board's 1.00 MS/s in all for a scan of several "
                         "channels");
    }
}

std::string inputName(int input) {
    return "ai" + std::to_string(input);
}

double boardRange(double range) {
    const auto holding = std::find_if(boardRanges.begin(), boardRanges.end(),
                                      [&](double board) { return board >= range; });
    return holding == boardRanges.end() ? largestRange : *holding;
}

const char *terminalName(int terminal) {
    switch (terminal) {
    case ORVEX_NRSE:
        return "nrse";
    case ORVEX_DIFF:
        return "diff";
    default:
        return "rse";
    }
}

std::string channelLabel(const ScanChannel &channel) {
    return inputName(channel.input) + " ±" + volts(boardRange(channel.range)) + " V " +
           terminalName(channel.terminal);
}

} // namespace orvex_cli
