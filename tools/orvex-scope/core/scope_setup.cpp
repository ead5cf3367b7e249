#include "scope_setup.h"

#include <cmath>
#include <cstdio>

namespace scope {

namespace {

// Traces told apart on black, as scopes colour their first channels.
constexpr std::array<std::uint32_t, 8> palette = {0xFFE030, 0x30E0FF, 0xFF50C0, 0x50FF60,
                                                  0xFF8030, 0x8090FF, 0xE0E0E0, 0xC0FF30};

std::vector<double> oneTwoFive(double first, double last) {
    std::vector<double> steps;
    for (double decade = first; decade <= last * 1.001; decade *= 10.0) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (decade * factor <= last * 1.001) {
                steps.push_back(decade * factor);
            }
        }
    }
    return steps;
}

} // namespace

ScopeSetup::ScopeSetup() {
    for (std::size_t k = 0; k < channels.size(); ++k) {
        channels[k].colour = palette[k % palette.size()];
    }
    channels[0].enabled = true;
}

std::vector<int> ScopeSetup::enabledInputs() const {
    std::vector<int> inputs;
    for (int k = 0; k < inputCount; ++k) {
        if (channels[static_cast<std::size_t>(k)].enabled) {
            inputs.push_back(k);
        }
    }
    return inputs;
}

std::vector<int> ScopeSetup::chosenLines() const {
    std::vector<int> chosen;
    for (int line = 0; line < lineCount; ++line) {
        if ((lines >> line) & 1u) {
            chosen.push_back(line);
        }
    }
    return chosen;
}

std::vector<int> ScopeSetup::linePortsRead() const {
    std::vector<int> ports;
    for (int port = 0; port < linePorts; ++port) {
        if ((lines >> (port * linesPerPort)) & 0xFFu) {
            ports.push_back(port);
        }
    }
    return ports;
}

std::string lineName(int line) {
    return "port" + std::to_string(line / linesPerPort) + "/line" +
           std::to_string(line % linesPerPort);
}

int lineOfName(const std::string &name) {
    for (int line = 0; line < lineCount; ++line) {
        if (lineName(line) == name) {
            return line;
        }
    }
    return -1;
}

std::vector<double> timeBaseSteps() {
    return oneTwoFive(1e-6, 10.0);
}

std::vector<double> voltageSteps() {
    return oneTwoFive(1e-3, 5.0);
}

std::string withUnit(double value, const char *unit) {
    struct Prefix {
        double scale;
        const char *name;
    };
    constexpr std::array<Prefix, 4> prefixes = {
        {{1.0, ""}, {1e-3, "m"}, {1e-6, "\u00b5"}, {1e-9, "n"}}};
    const double size = std::fabs(value);
    Prefix chosen = prefixes.back();
    for (const Prefix &prefix : prefixes) {
        if (size >= prefix.scale * 0.9995) {
            chosen = prefix;
            break;
        }
    }
    // Below the smallest prefix is rounding noise of a mean of zero, not a reading.
    if (size < prefixes.back().scale) {
        value = 0.0;
        chosen = prefixes.front();
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.4g %s%s", value / chosen.scale, chosen.name, unit);
    return text;
}

} // namespace scope
