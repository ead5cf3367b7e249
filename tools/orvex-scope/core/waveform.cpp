#include "waveform.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <numeric>
#include <sstream>

namespace scope {

namespace {

constexpr long long longestBlock = 1 << 20;
constexpr double maxVolts = 10.0;

// Where a period starts, 0 .. 1, to the value there.
double shapeAt(Waveform waveform, double phase) {
    switch (waveform) {
    case Waveform::Sine:
        return std::sin(2.0 * std::numbers::pi * phase);
    case Waveform::Square:
        return phase < 0.5 ? 1.0 : -1.0;
    case Waveform::Triangle:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Waveform::Dc:
    case Waveform::File:
        break;
    }
    return 1.0;
}

long long periodSamples(const OutputSetup &output, double rate) {
    return std::max(2LL, std::llround(rate / std::max(output.frequency, 1e-9)));
}

// Whole periods of every periodic output, and the whole of the first file.
long long blockLength(const std::array<OutputSetup, outputCount> &outputs, double rate,
                      const std::array<std::vector<double>, outputCount> &fileValues) {
    long long length = 1;
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        if (!outputs[k].enabled) {
            continue;
        }
        if (outputs[k].waveform == Waveform::File) {
            return std::max<long long>(1, static_cast<long long>(fileValues[k].size()));
        }
        if (outputs[k].waveform != Waveform::Dc) {
            length = std::lcm(length, periodSamples(outputs[k], rate));
        }
    }
    return length <= longestBlock ? std::max(2LL, length) : std::llround(rate);
}

} // namespace

OutputBlock outputBlock(const std::array<OutputSetup, outputCount> &outputs, double rate,
                        const std::array<std::vector<double>, outputCount> &fileValues) {
    OutputBlock block;
    const long long length = blockLength(outputs, rate, fileValues);
    std::vector<std::size_t> generated;
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        if (outputs[k].enabled) {
            generated.push_back(k);
        }
    }
    if (generated.empty()) {
        return block;
    }
    block.channels = generated.size() == 2 ? "ao0:1" : "ao" + std::to_string(generated[0]);
    block.samplesPerChannel = static_cast<int>(length);
    for (const std::size_t k : generated) {
        const OutputSetup &output = outputs[k];
        // A whole number of periods in the block: the frequency moves to the nearest that fits.
        const double periods = std::max(1.0, std::round(output.frequency * double(length) / rate));
        for (long long n = 0; n < length; ++n) {
            double value = 0.0;
            if (output.waveform == Waveform::File) {
                const std::vector<double> &values = fileValues[k];
                value = values.empty() ? 0.0 : values[static_cast<std::size_t>(n) % values.size()];
            } else {
                const double phase = std::fmod(double(n) * periods / double(length), 1.0);
                value = output.offset + output.amplitude * shapeAt(output.waveform, phase);
            }
            block.data.push_back(std::clamp(value, -maxVolts, maxVolts));
        }
    }
    return block;
}

std::vector<double> readValuesFile(const std::string &path) {
    std::ifstream file(path);
    std::vector<double> values;
    std::string line;
    while (file && std::getline(file, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#') {
            continue;
        }
        std::istringstream field(line);
        double value = 0.0;
        if (!(field >> value)) {
            return {};
        }
        values.push_back(value);
    }
    return values;
}

} // namespace scope
