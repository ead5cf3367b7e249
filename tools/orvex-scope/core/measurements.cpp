#include "measurements.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scope {

namespace {

constexpr double hysteresisOfPeakToPeak = 0.1;

double frequencyOf(std::span<const float> samples, double mean, double peakToPeak,
                   double interval) {
    const double armBelow = mean - hysteresisOfPeakToPeak * peakToPeak;
    bool armed = false;
    double firstCrossing = 0.0;
    double lastCrossing = 0.0;
    long long crossings = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double value = samples[i];
        if (value <= armBelow) {
            armed = true;
        } else if (armed && value >= mean && i > 0) {
            const double before = samples[i - 1];
            const double at = double(i - 1) + (mean - before) / (value - before);
            firstCrossing = crossings == 0 ? at : firstCrossing;
            lastCrossing = at;
            ++crossings;
            armed = false;
        }
    }
    if (crossings < 2 || peakToPeak <= 0.0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return double(crossings - 1) / ((lastCrossing - firstCrossing) * interval);
}

} // namespace

Measurements measure(std::span<const float> samples, double interval) {
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    Measurements result{samples.size(), none, none, none, none, none, none};
    if (samples.empty()) {
        return result;
    }
    double low = samples[0];
    double high = samples[0];
    double sum = 0.0;
    double sumOfSquares = 0.0;
    for (const float sample : samples) {
        low = std::min(low, double(sample));
        high = std::max(high, double(sample));
        sum += sample;
        sumOfSquares += double(sample) * sample;
    }
    const auto count = double(samples.size());
    result.min = low;
    result.max = high;
    result.mean = sum / count;
    result.rms = std::sqrt(sumOfSquares / count);
    result.peakToPeak = high - low;
    result.frequency = frequencyOf(samples, result.mean, result.peakToPeak, interval);
    return result;
}

} // namespace scope
