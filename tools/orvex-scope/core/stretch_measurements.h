// Measurements of one channel over a stretch of the history, which may hold far more
// samples than are worth going through at every frame.
#ifndef TOOLS_ORVEX_SCOPE_CORE_STRETCH_MEASUREMENTS_H
#define TOOLS_ORVEX_SCOPE_CORE_STRETCH_MEASUREMENTS_H

#include "measurements.h"
#include "sample_history.h"

namespace scope {

// Up to this many samples are measured one by one.  A longer stretch has its mean and RMS
// from every n-th sample, its frequency from its last this many samples (every n-th would
// alias a fast signal), and its minimum and maximum exact.
constexpr long long samplesMeasuredWhole = 1 << 20;

// [from, to) clipped to what the history holds; interval: seconds between samples.
Measurements measureStretch(const SampleHistory &history, int channel, long long from, long long to,
                            double interval);

} // namespace scope

#endif
