// Measurements of one channel over a stretch of the history, which may hold far more
// samples than are worth going through at every frame.
#ifndef TOOLS_ORVEX_SCOPE_CORE_STRETCH_MEASUREMENTS_H
#define TOOLS_ORVEX_SCOPE_CORE_STRETCH_MEASUREMENTS_H

#include "core/measurements.h"
#include "core/sample_history.h"

namespace scope {

// Up to this many samples are measured one by one; a longer stretch is measured on every
// n-th sample, except its minimum and maximum, which stay exact.
constexpr long long samplesMeasuredWhole = 1 << 22;

// [from, to) clipped to what the history holds; interval: seconds between samples.
Measurements measureStretch(const SampleHistory &history, int channel, long long from, long long to,
                            double interval);

} // namespace scope

#endif
