// How the board's analog-input converter turns a voltage into a sample: the smallest of
// its ranges that holds the channel's limits, 16 bits over the narrower ranges, and the
// range's end for a signal beyond it.
#ifndef PLATFORM_SIMBOARD_ANALOG_INPUT_CONVERSION_H
#define PLATFORM_SIMBOARD_ANALOG_INPUT_CONVERSION_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace simboard {

constexpr std::array inputRanges = {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0};
// Seconds between the conversions of two channels of one scan: the convert clock runs at
// 1 MHz, our choice where the board leaves the driver's default open.
constexpr double convertInterval = 1.0e-6;

inline double inputRangeFor(double minimum, double maximum) {
    double needed = std::max(std::fabs(minimum), std::fabs(maximum));
    for (double range : inputRanges) {
        if (needed <= range) {
            return range;
        }
    }
    return inputRanges.back();
}

// In place: each sample becomes the nearest of the 65536 codes over ±range.  The widest
// range only saturates: the programs and tests on this board read exact voltages there,
// and 0.3 mV steps would change what they see for no gain in what they can test.
inline void convert(double *samples, size_t count, double range) {
    if (range >= inputRanges.back()) {
        for (size_t i = 0; i < count; ++i) {
            samples[i] = std::clamp(samples[i], -range, range);
        }
        return;
    }
    constexpr double fullScale = 32768.0;
    // Adding and taking away 1.5 * 2^52 rounds to the nearest whole number without a
    // library call or a branch, so that this loop, which every sample passes, vectorises.
    constexpr double rounder = 6755399441055744.0;
    const double toCode = fullScale / range;
    const double toVolts = range / fullScale;
    for (size_t i = 0; i < count; ++i) {
        double code = (samples[i] * toCode + rounder) - rounder;
        samples[i] = std::clamp(code, -fullScale, fullScale - 1.0) * toVolts;
    }
}

} // namespace simboard

#endif
