// How fast `orvex ai acquire` delivers samples in virtual time, against an anchor measured
// in the same run: the same samples formatted by a plain printf loop.
//   BM_AcquireToCsv, BM_AcquireToF64: the tool's acquisition of ai0 (a sine generated on
//     ao0) at the board's top rate, to /dev/null; items_per_second is samples per second
//     of wall time (goals: 30 M/s to CSV, 100 M/s to f64).
//   BM_AnchorPrintfCsv: "%llu,%.6f\n" of the same samples with stdio, to /dev/null.
//   BM_ScanToF32, BM_ScanToH5: a scan of ai0 to ai15 at 62.5 kS/s each into a file in
//     /tmp, as raw float32 and as an HDF5 recording of the same float32 samples; counter
//     "x_f32" is the HDF5 run's samples per second over the raw one's (goal: 0.5 or more).
// Run in that order; counter "x_anchor" is each acquisition's samples per second over the
// anchor's, and "per_cpu_second" the same rate per second of the process's CPU time (on a
// shared, loaded machine wall time also counts the other programs).
#include "acquisition/acquisition.h"
#include "acquisition/scan_channels.h"
#include "acquisition/waveform.h"
#include "commands/board_commands.h"
#include "core/session.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using namespace orvex_cli;

constexpr double boardTopRate = 1.25e6;
constexpr std::uint64_t samplesPerRun = 5000000;
double anchorRate = 0.0; // samples per second of wall time, set by the anchor

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Sets the rates of a run of `samples` in total that began at the given times.
void count(benchmark::State &state, double samples, double cpuStart,
           std::chrono::steady_clock::time_point wallStart) {
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    state.SetItemsProcessed(static_cast<std::int64_t>(samples));
    state.counters["per_cpu_second"] = samples / (cpuSeconds() - cpuStart);
    if (anchorRate == 0.0) {
        anchorRate = samples / wall;
    } else {
        state.counters["x_anchor"] = samples / wall / anchorRate;
    }
}

Session &board() {
    static Session session = [] {
        Session made;
        made.enterScript(); // the generation keeps running between acquisitions
        const WaveShape sine{WaveKind::Sine, 1000.0, 2.0, 0.0};
        generate(made, 0, boardTopRate, periodicBlock(sine, boardTopRate), std::nullopt);
        return made;
    }();
    return session;
}

void acquireTo(benchmark::State &state, SampleFormat format) {
    AcquisitionRequest request;
    request.rate = boardTopRate;
    request.samples = samplesPerRun;
    request.format = format;
    request.output = "/dev/null";
    board();
    const double cpuStart = cpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (acquire(request, board()).samples != samplesPerRun) {
            state.SkipWithError("acquisition ended early");
        }
    }
    count(state, static_cast<double>(state.iterations() * samplesPerRun), cpuStart, wallStart);
}

void BM_AcquireToCsv(benchmark::State &state) {
    acquireTo(state, SampleFormat::Csv);
}
void BM_AcquireToF64(benchmark::State &state) {
    acquireTo(state, SampleFormat::F64);
}

void BM_AnchorPrintfCsv(benchmark::State &state) {
    // The same kind of samples, taken once through the tool in binary.
    static const std::vector<double> samples = [] {
        const char *path = "/tmp/orvex-cli-bench-anchor.f64";
        AcquisitionRequest request;
        request.rate = boardTopRate;
        request.samples = samplesPerRun;
        request.format = SampleFormat::F64;
        request.output = path;
        acquire(request, board());
        std::vector<double> read(samplesPerRun);
        FILE *file = std::fopen(path, "rb");
        const std::size_t got = std::fread(read.data(), sizeof(double), read.size(), file);
        std::fclose(file);
        std::remove(path);
        read.resize(got);
        return read;
    }();
    FILE *sink = std::fopen("/dev/null", "w");
    const double cpuStart = cpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (std::size_t k = 0; k < samples.size(); ++k) {
            std::fprintf(sink, "%zu,%.6f\n", k, samples[k]);
        }
    }
    std::fclose(sink);
    count(state, static_cast<double>(state.iterations() * samples.size()), cpuStart, wallStart);
}

constexpr int scanWidth = 16;
constexpr double scanRate = 62500.0;
constexpr std::uint64_t scansPerRun = 312500; // 5 s of board time, 20 MB of float32
double rawScanRate = 0.0;                     // samples per second of wall time, set by the raw run

void scanTo(benchmark::State &state, SampleFormat format, const char *path) {
    AcquisitionRequest request;
    for (int input = 0; input < scanWidth; ++input) {
        request.scan.push_back(ScanChannel{input});
    }
    request.rate = scanRate;
    request.samples = scansPerRun;
    request.format = format;
    request.output = path;
    board();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        std::remove(path); // an HDF5 recording never replaces a file
        if (acquire(request, board()).samples != scansPerRun) {
            state.SkipWithError("acquisition ended early");
        }
    }
    std::remove(path);
    const double samples = static_cast<double>(state.iterations() * scansPerRun * scanWidth);
    const double rate =
        samples /
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    state.SetItemsProcessed(static_cast<std::int64_t>(samples));
    if (format == SampleFormat::F32) {
        rawScanRate = rate;
    } else if (rawScanRate > 0.0) {
        state.counters["x_f32"] = rate / rawScanRate;
    }
}

void BM_ScanToF32(benchmark::State &state) {
    scanTo(state, SampleFormat::F32, "/tmp/orvex-cli-bench-scan.f32");
}
void BM_ScanToH5(benchmark::State &state) {
    scanTo(state, SampleFormat::H5, "/tmp/orvex-cli-bench-scan.h5");
}

BENCHMARK(BM_AnchorPrintfCsv)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_AcquireToCsv)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_AcquireToF64)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ScanToF32)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ScanToH5)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

} // namespace

int main(int argc, char **argv) {
    setenv("ORVEX_DRIVER", SIMBOARD_DRIVER, 1);
    setenv("ORVEX_SIM_BENCH", VIRTUAL_TIME_BENCH, 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    board().release();
    benchmark::Shutdown();
    return 0;
}
