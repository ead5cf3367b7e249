// What a scope reads off a stretch of one channel: extremes, mean, RMS and frequency.
#ifndef TOOLS_ORVEX_SCOPE_CORE_MEASUREMENTS_H
#define TOOLS_ORVEX_SCOPE_CORE_MEASUREMENTS_H

#include <cstddef>
#include <span>

namespace scope {

// Values without samples to give them, and the frequency without two rising crossings of
// the mean, are NaN.
struct Measurements {
    std::size_t samples = 0;
    double min;
    double max;
    double mean;
    double rms;
    double peakToPeak;
    double frequency;
};

// samples taken every interval seconds.  The frequency counts the signal rising through
// its mean, each crossing placed between the samples either side of it, and after having
// fallen a tenth of the peak-to-peak below the mean, so that noise on a slow edge does
// not count as more periods.
Measurements measure(std::span<const float> samples, double interval);

} // namespace scope

#endif
