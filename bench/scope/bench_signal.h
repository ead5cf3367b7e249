// The scope benchmarks' signal: a sine of a few hundred samples a period with noise and now
// and then a burst, so that every column has something to show and the extremes differ from
// column to column.  The anchors draw this very signal; bench/scope/pyqtgraph_frames.py makes
// it by the same formula.
#ifndef BENCH_SCOPE_BENCH_SIGNAL_H
#define BENCH_SCOPE_BENCH_SIGNAL_H

#include <cmath>
#include <numbers>
#include <random>

namespace scope {

class BenchSignal {
  public:
    explicit BenchSignal(int channels) : channels_(channels) {}

    // The next count scans, a sample of every channel in each.
    void fill(double *scans, long long count) {
        for (long long n = 0; n < count; ++n, ++done_) {
            const double t = double(done_);
            const double burst = done_ % 1'000'003 < 200 ? 3.0 : 0.0;
            for (int k = 0; k < channels_; ++k) {
                *scans++ = 2.0 * std::sin(2.0 * std::numbers::pi * t / (317.0 + k)) + burst +
                           noise_(random_);
            }
        }
    }

  private:
    int channels_;
    long long done_ = 0;
    std::mt19937 random_{5};
    std::normal_distribution<double> noise_{0.0, 0.05};
};

} // namespace scope

#endif
