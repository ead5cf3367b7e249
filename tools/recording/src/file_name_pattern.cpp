#include "file_name_pattern.h"

#include "utc_time.h"

#include <cstdio>
#include <stdexcept>

namespace recording {

namespace {

// The text of one %-field; empty for an unknown letter.
std::string field(char letter, const UtcTime &utc, int number) {
    const auto padded = [](int value, int width) {
        char text[16];
        std::snprintf(text, sizeof text, "%0*d", width, value);
        return std::string(text);
    };
    switch (letter) {
    case 'Y':
        return padded(utc.year, 4);
    case 'm':
        return padded(utc.month, 2);
    case 'd':
        return padded(utc.day, 2);
    case 'H':
        return padded(utc.hour, 2);
    case 'M':
        return padded(utc.minute, 2);
    case 'S':
        return padded(utc.second, 2);
    case 'f':
        return padded(utc.microsecond, 6);
    case 'n':
        return padded(number, 4);
    case '%':
        return "%";
    default:
        return {};
    }
}

} // namespace

void checkFileNamePattern(const std::string &pattern) {
    if (pattern.empty()) {
        throw std::invalid_argument("the file name pattern is empty");
    }
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            continue;
        }
        if (i + 1 == pattern.size() || field(pattern[i + 1], UtcTime{}, 0).empty()) {
            throw std::invalid_argument("the file name pattern \"" + pattern +
                                        "\" has an unknown field at " + std::to_string(i) +
                                        " (known: %Y %m %d %H %M %S %f %n %%)");
        }
        ++i;
    }
}

std::string fileName(const std::string &pattern, double startEpochSeconds, int number) {
    const UtcTime utc = utcTime(startEpochSeconds);
    std::string name;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            name += field(pattern[++i], utc, number);
        } else {
            name += pattern[i];
        }
    }
    return name;
}

} // namespace recording
