#include "values.h"

#include "tool_errors.h"

#include <orvex.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace orvex_cli {
namespace {

[[noreturn]] void refuse(std::string_view what, std::string_view text, std::string_view expected) {
    throw UsageError(std::string(what) + " " + quotedEcho(text) + " is not " +
                     std::string(expected));
}

bool parseWhole(std::string_view text, int base, std::uint64_t &value) {
    if (text.empty()) {
        return false;
    }
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

int parseIndex(std::string_view text, std::string_view what, int count) {
    std::uint64_t value = 0;
    if (!parseWhole(text, 10, value) || value >= static_cast<std::uint64_t>(count)) {
        refuse(what, text, "from 0 to " + std::to_string(count - 1));
    }
    return static_cast<int>(value);
}

} // namespace

std::uint8_t parseByte(std::string_view text, std::string_view what) {
    int base = 10;
    std::string_view digits = text;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        digits.remove_prefix(2);
    } else if (text.starts_with("0b") || text.starts_with("0B")) {
        base = 2;
        digits.remove_prefix(2);
    }
    std::uint64_t value = 0;
    if (!parseWhole(digits, base, value) || value > 255) {
        refuse(what, text, "a value from 0 to 255 (decimal, 0x hex or 0b binary)");
    }
    return static_cast<std::uint8_t>(value);
}

int parseChannel(std::string_view text, std::string_view prefix, int count) {
    std::string_view index = text;
    if (index.starts_with(prefix)) {
        index.remove_prefix(prefix.size());
    }
    std::uint64_t value = 0;
    if (!parseWhole(index, 10, value) || value >= static_cast<std::uint64_t>(count)) {
        refuse("channel", text,
               std::string(prefix) + "0 to " + std::string(prefix) + std::to_string(count - 1));
    }
    return static_cast<int>(value);
}

int parsePort(std::string_view text) {
    return parseIndex(text, "port", PORT_SIZE);
}

PortLine parsePortLine(std::string_view text) {
    const auto dot = text.find('.');
    if (dot == std::string_view::npos) {
        refuse("line", text, "PORT.LINE, for example 1.3");
    }
    return {parsePort(text.substr(0, dot)), parseIndex(text.substr(dot + 1), "line", 8)};
}

double parseNumber(std::string_view text, std::string_view what) {
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        refuse(what, text, "a number");
    }
    return value;
}

double parsePositive(std::string_view text, std::string_view what) {
    const double value = parseNumber(text, what);
    if (value <= 0.0) {
        refuse(what, text, "a positive number");
    }
    return value;
}

double parseNonNegative(std::string_view text, std::string_view what) {
    const double value = parseNumber(text, what);
    if (value < 0.0) {
        refuse(what, text, "0 or a positive number");
    }
    return value;
}

std::uint64_t parseCount(std::string_view text, std::string_view what) {
    std::uint64_t value = 0;
    if (!parseWhole(text, 10, value) || value == 0) {
        refuse(what, text, "a positive whole number");
    }
    return value;
}

std::string formatByte(std::uint8_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X ", value);
    std::string result(text);
    for (int bit = 7; bit >= 0; --bit) {
        result += ((value >> bit) & 1) != 0 ? '1' : '0';
    }
    return result;
}

std::string shortened(std::string_view text, std::size_t limit) {
    // Counted in UTF-8 characters, and never cut inside one.
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool startsCharacter = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == limit) {
            return std::string(text.substr(0, at)) + "\xE2\x80\xA6"; // "…" in UTF-8
        }
    }
    return std::string(text);
}

std::string quotedEcho(std::string_view text) {
    return "'" + shortened(text) + "'";
}

} // namespace orvex_cli
