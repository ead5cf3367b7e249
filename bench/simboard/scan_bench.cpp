// A 16-channel scan at 62.5 kS/s per channel (1 MS/s in all) into memory in virtual time,
// against its reference: the same signals filled into the same buffer straight through
// the stand's fill function, without the driver.  Counters: "samples_per_s" (wall time,
// all channels; the goal is at least 100 M/s), "reference_samples_per_s" and
// "fraction_of_reference" (the goal is at least 0.5).
#include "daqmx/daqmx.h"
#include "stand/lab_stand.h"
#include <orvex/simboard_control.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int channels = 16;
constexpr double ratePerChannel = 62500.0;
constexpr double outputRate = 1.0e6;
constexpr double convertStep = 1.0e-6;

std::vector<double> sineWave() {
    std::vector<double> wave(1000);
    for (size_t k = 0; k < wave.size(); ++k) {
        wave[k] = 5.0 * std::sin(2.0 * std::numbers::pi * static_cast<double>(k) / 100.0);
    }
    return wave;
}

// What the board puts on the wires in the driver's run: the sine regenerated on ao0 from
// time 0, and port 2 line 0 high, which powers the joystick.
class ReferenceOutputs final : public simboard::BoardOutputs {
  public:
    std::optional<bool> drivenLevel(int port, int line) const override {
        return port == 2 && line == 0 ? std::optional<bool>(true) : std::nullopt;
    }
    double analogOutputAt(int channel, double t) override {
        if (channel != 0) {
            return 0.0;
        }
        auto tick = static_cast<uint64_t>(t * outputRate + 1e-4);
        return wave_[tick % wave_.size()];
    }

  private:
    std::vector<double> wave_ = sineWave();
};

struct ScanTasks {
    TaskHandle generator = nullptr;
    TaskHandle scan = nullptr;

    ScanTasks() {
        std::vector<double> wave = sineWave();
        DAQmxCreateTask("", &generator);
        DAQmxCreateAOVoltageChan(generator, "PXI1Slot2/ao0", "", -10.0, 10.0, DAQmx_Val_Volts, "");
        DAQmxCfgSampClkTiming(generator, "", outputRate, DAQmx_Val_Rising, DAQmx_Val_ContSamps,
                              wave.size());
        DAQmxWriteAnalogF64(generator, static_cast<int32>(wave.size()), 1, 10.0,
                            DAQmx_Val_GroupByChannel, wave.data(), nullptr, nullptr);
        DAQmxCreateTask("", &scan);
        DAQmxCreateAIVoltageChan(scan, "PXI1Slot2/ai0:15", "", DAQmx_Val_RSE, -10.0, 10.0,
                                 DAQmx_Val_Volts, "");
        DAQmxCfgSampClkTiming(scan, "", ratePerChannel, DAQmx_Val_Rising, DAQmx_Val_ContSamps,
                              1 << 20);
    }
    ~ScanTasks() {
        DAQmxClearTask(scan);
        DAQmxClearTask(generator);
    }
};

void BM_SixteenChannelScanAgainstStandFill(benchmark::State &state) {
    simboard_reset();
    simboard_applyBench(R"({"virtualTime": true, "seed": 1})");
    simboard_setInputLine(2, 0, 1);
    ScanTasks tasks;
    const auto scansPerRead = static_cast<int32>(state.range(0));
    std::vector<double> data(static_cast<size_t>(scansPerRead) * channels);

    ReferenceOutputs outputs;
    simboard::StandLayers layers;
    layers.current.seed = 1;
    simboard::LabStand stand(outputs, layers);
    uint64_t referenceFirst = 0;

    double driverSeconds = 0.0;
    double referenceSeconds = 0.0;
    int64_t samples = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        int32 read = 0;
        if (DAQmxReadAnalogF64(tasks.scan, scansPerRead, 10.0, DAQmx_Val_GroupByChannel,
                               data.data(), static_cast<uInt32>(data.size()), &read, nullptr) < 0) {
            state.SkipWithError("read failed");
            break;
        }
        auto between = std::chrono::steady_clock::now();
        for (int k = 0; k < channels; ++k) {
            simboard::SampleTimes times{k * convertStep, ratePerChannel};
            stand.fillAnalogInput(k, times, referenceFirst, static_cast<size_t>(scansPerRead),
                                  data.data() + static_cast<size_t>(k) * scansPerRead);
        }
        referenceFirst += static_cast<uint64_t>(scansPerRead);
        benchmark::DoNotOptimize(data.data());
        auto end = std::chrono::steady_clock::now();
        driverSeconds += std::chrono::duration<double>(between - start).count();
        referenceSeconds += std::chrono::duration<double>(end - between).count();
        state.SetIterationTime(std::chrono::duration<double>(between - start).count());
        samples += static_cast<int64_t>(read) * channels;
    }
    double all = static_cast<double>(samples);
    state.counters["samples_per_s"] = all / driverSeconds;
    state.counters["reference_samples_per_s"] = all / referenceSeconds;
    state.counters["fraction_of_reference"] = referenceSeconds / driverSeconds;
}
BENCHMARK(BM_SixteenChannelScanAgainstStandFill)->Arg(1000)->Arg(62500)->UseManualTime();

} // namespace
