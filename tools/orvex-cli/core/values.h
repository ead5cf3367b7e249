// Reading the values a user types and writing port values back.
// Every reader throws UsageError with a message naming what was wrong.
#ifndef TOOLS_ORVEX_CLI_CORE_VALUES_H
#define TOOLS_ORVEX_CLI_CORE_VALUES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvex_cli {

// "0x5a", "0b01011010" or "90"; at most 255.
std::uint8_t parseByte(std::string_view text, std::string_view what);

// A channel "3" or "ai3" (with prefix "ai"), below count.
int parseChannel(std::string_view text, std::string_view prefix, int count);

struct PortLine {
    int port;
    int line;
};
// "1.3": port 1, line 3.
PortLine parsePortLine(std::string_view text);
int parsePort(std::string_view text);

// A finite number; "positive" also refuses zero and below, "non-negative" below zero.
double parseNumber(std::string_view text, std::string_view what);
double parsePositive(std::string_view text, std::string_view what);
double parseNonNegative(std::string_view text, std::string_view what);
std::uint64_t parseCount(std::string_view text, std::string_view what);

// "0xA5 10100101"
std::string formatByte(std::uint8_t value);

// What a message shows of a text the user gave: the first `limit` characters, then "…"
// when there are more, so that a huge value cannot flood the terminal.
constexpr std::size_t longestEcho = 60;
// A file name is cut only beyond the longest path a system takes.
constexpr std::size_t longestPathEcho = 4096;
std::string shortened(std::string_view text, std::size_t limit = longestEcho);
// The value in single quotes, shortened.
std::string quotedEcho(std::string_view text);

} // namespace orvex_cli

#endif
