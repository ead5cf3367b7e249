// How soon a stop reaches a read that waits for samples in real time: from the call of
// DAQmxStopTask in one thread to the return of the read in another, on a board of the
// benchmark's own.  Left alone the read would sleep for 100 s; the stop's notice should
// end it within a millisecond or so (counters "stop_to_read_return_ms" on average and
// "worst_ms").
#include "daqmx/daqmx.h"
#include <orvex/simboard_control.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The read waits once its auto-start has made the task run.
void untilRunning() {
    SimboardTask task{};
    while (simboard_liveTasks(&task, 1) != 1 || task.running == 0) {
        std::this_thread::yield();
    }
}

void BM_StopReachesAWaitingRead(benchmark::State &state) {
    simboard_applyBench(R"({"virtualTime": false})");
    TaskHandle acquirer = nullptr;
    DAQmxCreateTask("", &acquirer);
    DAQmxCreateAIVoltageChan(acquirer, "PXI1Slot2/ai4", "", DAQmx_Val_RSE, -10.0, 10.0,
                             DAQmx_Val_Volts, "");
    DAQmxCfgSampClkTiming(acquirer, "OnboardClock", 10.0, DAQmx_Val_Rising, DAQmx_Val_ContSamps,
                          1000);
    std::vector<double> samples(1000);
    double totalSeconds = 0.0;
    double worstSeconds = 0.0;
    for (auto _ : state) {
        Clock::time_point returned;
        std::thread reader([&] {
            DAQmxReadAnalogF64(acquirer, 1000, 200.0, 0, samples.data(), 1000, nullptr, nullptr);
            returned = Clock::now();
        });
        untilRunning();
        const Clock::time_point stopped = Clock::now();
        if (DAQmxStopTask(acquirer) < 0) {
            state.SkipWithError("stop failed");
        }
        reader.join();
        const double seconds = std::chrono::duration<double>(returned - stopped).count();
        state.SetIterationTime(seconds);
        totalSeconds += seconds;
        worstSeconds = std::max(worstSeconds, seconds);
    }
    DAQmxClearTask(acquirer);
    state.counters["stop_to_read_return_ms"] =
        1000.0 * totalSeconds / static_cast<double>(state.iterations());
    state.counters["worst_ms"] = 1000.0 * worstSeconds;
}
BENCHMARK(BM_StopReachesAWaitingRead)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
