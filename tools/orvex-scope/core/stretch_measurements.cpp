#include "stretch_measurements.h"

#include <algorithm>
#include <vector>

namespace scope {

Measurements measureStretch(const SampleHistory &history, int channel, long long from, long long to,
                            double interval) {
    from = std::max(from, history.first());
    to = std::min(to, history.total());
    if (from >= to) {
        return measure({}, interval);
    }
    // An odd stride goes through every phase of a signal whose period is a power of two.
    long long stride = (to - from + samplesMeasuredWhole - 1) / samplesMeasuredWhole;
    stride = stride > 1 ? stride | 1 : stride;
    std::vector<float> samples;
    samples.reserve(static_cast<std::size_t>((to - from) / stride + 1));
    for (long long index = from; index < to; index += stride) {
        samples.push_back(history.at(channel, index));
    }
    Measurements result = measure(samples, interval * double(stride));
    if (stride > 1) {
        result.frequency =
            measure(history.read(channel, to - samplesMeasuredWhole, to), interval).frequency;
    }
    const MinMax extremes = history.minMax(channel, from, to);
    result.samples = static_cast<std::size_t>(to - from);
    result.min = extremes.min;
    result.max = extremes.max;
    result.peakToPeak = result.max - result.min;
    return result;
}

} // namespace scope
