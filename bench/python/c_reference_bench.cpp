// The C calls that the Python package's benchmark measures itself against: a clocked
// acquisition of 10^7 samples, a scan of four channels of 10^7 samples in all and a
// single-point read, through the shared library on the simulated board in virtual time.
// Run by python_vs_c.py, which sets the board up.
#include <orvex.h>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int acquisitionSamples = 10'000'000;
constexpr double acquisitionRate = 1.0e6;

void BM_Acquire(benchmark::State &state) {
    std::vector<double> samples(acquisitionSamples);
    for (auto _ : state) {
        int read = 0;
        orvex_analogInClk("OnboardClock", acquisitionRate);
        orvex_analogInTrigger(nullptr, 0.0);
        if (orvex_analogReadEx(0, samples.data(), acquisitionSamples, &read, 60.0) < 0) {
            state.SkipWithError(orvex_GetLastErrorBuffer());
            break;
        }
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetItemsProcessed(state.iterations() * acquisitionSamples);
}
BENCHMARK(BM_Acquire)->Unit(benchmark::kMillisecond)->UseRealTime();

// Four channels at 250 kS/s each: the board's 1 MS/s in all.
constexpr int scanChannels = 4;
constexpr double scanRate = 250'000.0;

void BM_Scan(benchmark::State &state) {
    constexpr int scans = acquisitionSamples / scanChannels;
    std::vector<double> samples(acquisitionSamples);
    for (auto _ : state) {
        int read = 0;
        if (orvex_scanChannels("ai0:3", 10.0, ORVEX_RSE) < 0 || orvex_scanClock(scanRate) < 0 ||
            orvex_scanTrigger(nullptr, 0.0, ORVEX_RISING) < 0 ||
            orvex_scanOutput(nullptr, nullptr, 0, 0, 0.0) < 0 ||
            orvex_scanAcquire(samples.data(), scans, ORVEX_BY_SCAN, &read, 60.0) < 0) {
            state.SkipWithError(orvex_GetLastErrorBuffer());
            break;
        }
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetItemsProcessed(state.iterations() * acquisitionSamples);
}
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SinglePointRead(benchmark::State &state) {
    double volts = 0.0;
    for (auto _ : state) {
        if (orvex_analogIn(2, &volts) < 0) {
            state.SkipWithError(orvex_GetLastErrorBuffer());
            break;
        }
        benchmark::DoNotOptimize(volts);
    }
}
BENCHMARK(BM_SinglePointRead);

} // namespace

BENCHMARK_MAIN();
