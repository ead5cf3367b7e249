// How fast the simulated board delivers clocked samples.
//   virtual time: samples per second of wall time, also as a multiple of the board's top
//                 input rate (counter "x_board_top_rate"; the goal is at least 16);
//   real time:    a one-second acquisition at 1 kS/s, its wall time as a fraction of one
//                 second (counter "wall_per_board_second"; the goal is 0.95 to 1.05).
#include "daqmx/daqmx.h"
#include <orvex/simboard_control.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

constexpr double boardTopInputRate = 1.25e6;

struct Acquisition {
    TaskHandle generator = nullptr;
    TaskHandle acquirer = nullptr;

    Acquisition(const char *input, double rate, uInt64 buffer) {
        DAQmxCreateTask("", &acquirer);
        DAQmxCreateAIVoltageChan(acquirer, input, "", DAQmx_Val_RSE, -10.0, 10.0, DAQmx_Val_Volts,
                                 "");
        DAQmxCfgSampClkTiming(acquirer, "OnboardClock", rate, DAQmx_Val_Rising, DAQmx_Val_ContSamps,
                              buffer);
    }
    // A sine on ao0, which the stand wires to ai0.
    void generateSine() {
        std::vector<double> wave(1000);
        for (size_t k = 0; k < wave.size(); ++k) {
            wave[k] = 5.0 * std::sin(2.0 * std::numbers::pi * static_cast<double>(k) / 100.0);
        }
        DAQmxCreateTask("", &generator);
        DAQmxCreateAOVoltageChan(generator, "PXI1Slot2/ao0", "", -10.0, 10.0, DAQmx_Val_Volts, "");
        DAQmxCfgSampClkTiming(generator, "OnboardClock", 1.0e6, DAQmx_Val_Rising,
                              DAQmx_Val_ContSamps, wave.size());
        DAQmxWriteAnalogF64(generator, static_cast<int32>(wave.size()), 1, 10.0, 0, wave.data(),
                            nullptr, nullptr);
    }
    ~Acquisition() {
        DAQmxClearTask(acquirer);
        if (generator != nullptr) {
            DAQmxClearTask(generator);
        }
    }
};

void virtualTimeRead(benchmark::State &state, const char *input, bool withGenerator) {
    simboard_reset();
    simboard_applyBench(R"({"virtualTime": true, "seed": 1})");
    simboard_setInputLine(2, 0, 1); // joystick powered
    Acquisition acquisition(input, boardTopInputRate, 1 << 20);
    if (withGenerator) {
        acquisition.generateSine();
    }
    const int32 block = static_cast<int32>(state.range(0));
    std::vector<double> samples(static_cast<size_t>(block));
    int64_t delivered = 0;
    for (auto _ : state) {
        int32 read = 0;
        if (DAQmxReadAnalogF64(acquisition.acquirer, block, 10.0, 0, samples.data(),
                               static_cast<uInt32>(block), &read, nullptr) < 0) {
            state.SkipWithError("read failed");
            break;
        }
        delivered += read;
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetItemsProcessed(delivered);
    state.counters["x_board_top_rate"] = benchmark::Counter(
        static_cast<double>(delivered) / boardTopInputRate, benchmark::Counter::kIsRate);
}

void BM_VirtualTimeReadOfGeneratedSine(benchmark::State &state) {
    virtualTimeRead(state, "PXI1Slot2/ai0", true);
}
BENCHMARK(BM_VirtualTimeReadOfGeneratedSine)->Arg(1000)->Arg(100000)->UseRealTime();

void BM_VirtualTimeReadOfJoystick(benchmark::State &state) {
    virtualTimeRead(state, "PXI1Slot2/ai2", false);
}
BENCHMARK(BM_VirtualTimeReadOfJoystick)->Arg(100000)->UseRealTime();

void BM_RealTimeOneSecondAt1kSps(benchmark::State &state) {
    simboard_reset();
    simboard_applyBench(R"({"virtualTime": false})");
    std::vector<double> samples(1000);
    double wallSeconds = 0.0;
    for (auto _ : state) {
        Acquisition acquisition("PXI1Slot2/ai5", 1000.0, 2000);
        auto start = std::chrono::steady_clock::now();
        int32 read = 0;
        // 1000 samples span 0.999 s; the next tick closes the second.
        DAQmxReadAnalogF64(acquisition.acquirer, 1000, 10.0, 0, samples.data(), 1000, &read,
                           nullptr);
        DAQmxReadAnalogF64(acquisition.acquirer, 1, 10.0, 0, samples.data(), 1, &read, nullptr);
        auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(elapsed.count());
        wallSeconds += elapsed.count();
    }
    state.counters["wall_per_board_second"] = wallSeconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RealTimeOneSecondAt1kSps)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
