// Outputs in step with a scan: generation on the scan's start and sample clock, so that a
// stimulus and the response to it line up to the sample, and the convert clock's step
// between the channels of one scan.
#include "board_fixture.h"

#include <cmath>
#include <numbers>

namespace {

constexpr const char *inputClock = "/PXI1Slot2/ai/SampleClock";
constexpr const char *inputStart = "/PXI1Slot2/ai/StartTrigger";

// ao0 (wired to ai0) armed to generate `wave` from the scan's start, on the scan's clock
// or on its own at the same rate.
int32 armOutput(TaskHandle output, const std::vector<double> &wave, bool shareClock, double rate) {
    int32 status = addOutput(output, "PXI1Slot2/ao0");
    if (status >= 0) {
        status = DAQmxCfgSampClkTiming(output, shareClock ? inputClock : "", rate, DAQmx_Val_Rising,
                                       DAQmx_Val_ContSamps, wave.size());
    }
    if (status >= 0) {
        status = DAQmxCfgDigEdgeStartTrig(output, inputStart, DAQmx_Val_Rising);
    }
    if (status >= 0) {
        status = writeBlock(output, wave); // auto-starts: armed, no sample yet
    }
    return status;
}

// The scan index at which ai0 first reads above half of the step.
int stepIndex(const std::vector<double> &block) {
    for (size_t n = 0; n < block.size(); ++n) {
        if (block[n] > 0.5) {
            return static_cast<int>(n);
        }
    }
    return -1;
}

class StimulusResponse : public SimBoardTest, public ::testing::WithParamInterface<bool> {
  protected:
    // 20 runs of a step at output sample 1000, each a fresh start of both tasks.
    void expectStepAtScan1000(double rate) {
        std::vector<double> step(2000, 0.0);
        std::fill(step.begin() + 1000, step.end(), 1.0);
        for (int run = 0; run < 20; ++run) {
            ScopedTask output;
            ScopedTask scan;
            ASSERT_EQ(armOutput(output, step, true, rate), 0);
            ASSERT_EQ(simboard_advanceTime(0.0123 * run), 0) << "an arbitrary wait";
            ASSERT_EQ(addClockedInput(scan, "PXI1Slot2/ai0:1", rate, 4000), 0);
            std::vector<double> block(2 * 1200);
            ASSERT_EQ(readScans(scan, 1200, DAQmx_Val_GroupByChannel, block), 0);
            block.resize(1200); // ai0, grouped by channel
            EXPECT_EQ(stepIndex(block), 1000) << "run " << run;
        }
    }
};

TEST_P(StimulusResponse, AStepAtOutputSampleNAppearsAtScanNInEveryRun) {
    if (!GetParam()) {
        ASSERT_EQ(simboard_applyBench(R"({"virtualTime": false})"), 0);
    }
    expectStepAtScan1000(GetParam() ? 10000.0 : 100000.0);
}

INSTANTIATE_TEST_SUITE_P(Time, StimulusResponse, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "Virtual" : "Real");
                         });

// A ramp of distinct levels: scan n reads output sample n, so the generated and the
// acquired counts agree exactly, however long the scan runs.
TEST_F(SimBoardTest, OnTheScansClockEveryScanReadsTheOutputSampleOfItsOwnIndex) {
    std::vector<double> ramp(500);
    for (size_t n = 0; n < ramp.size(); ++n) {
        ramp[n] = 0.01 * static_cast<double>(n);
    }
    ScopedTask output;
    // The rate given is overruled by the scan's clock.
    ASSERT_EQ(armOutput(output, ramp, true, 1.0), 0);
    ScopedTask scan;
    ASSERT_EQ(addClockedInput(scan, "PXI1Slot2/ai0", 7777.0, 10000), 0);
    ASSERT_EQ(DAQmxStartTask(scan), 0);
    std::vector<double> block(5000);
    ASSERT_EQ(readBlock(scan, block), 0);
    for (size_t n = 0; n < block.size(); ++n) {
        ASSERT_NEAR(block[n], ramp[n % ramp.size()], codeAt10V) << "scan " << n;
    }
    float64 rate = 0.0;
    ASSERT_EQ(DAQmxGetSampClkRate(output, &rate), 0);
    EXPECT_EQ(rate, 7777.0);
}

TEST_F(SimBoardTest, AnOutputArmedOnTheScansStartGivesNoSampleUntilTheScanStarts) {
    ASSERT_EQ(simboard_setAnalogInput(5, 0.0), 0);
    ScopedTask output;
    ASSERT_EQ(armOutput(output, std::vector<double>(10, 3.0), false, 1000.0), 0);
    ASSERT_EQ(simboard_advanceTime(1.0), 0);
    ScopedTask probe;
    ASSERT_EQ(addInput(probe, "PXI1Slot2/ai0"), 0);
    double value = 0.0;
    ASSERT_EQ(readOne(probe, value), 0);
    EXPECT_EQ(value, 0.0) << "armed, not generating";

    ScopedTask scan;
    ASSERT_EQ(addClockedInput(scan, "PXI1Slot2/ai0", 1000.0, 1000), 0);
    std::vector<double> block(3);
    ASSERT_EQ(readBlock(scan, block), 0);
    expectNearEach(block, {3.0, 3.0, 3.0});
}

// ao0 and ao1 generate the same 10 kHz sine at 1 MS/s; ai1 is converted 1 µs after ai0 in
// each scan, so it leads by 2π · 10 kHz · 1 µs.
TEST_F(SimBoardTest, EachChannelOfAScanIsConvertedOneMicrosecondAfterThePrevious) {
    constexpr double frequency = 10000.0;
    constexpr double scanRate = 40000.0;
    constexpr int perPeriod = 100;
    std::vector<double> interleaved(2 * perPeriod);
    for (int n = 0; n < perPeriod; ++n) {
        double value = 5.0 * std::sin(2.0 * std::numbers::pi * n / perPeriod);
        interleaved[2 * n] = value;
        interleaved[2 * n + 1] = value;
    }
    ScopedTask outputs;
    ASSERT_EQ(addOutput(outputs, "PXI1Slot2/ao0:1"), 0);
    ASSERT_EQ(clockAt(outputs, frequency * perPeriod, perPeriod), 0);
    int32 written = 0;
    ASSERT_EQ(DAQmxWriteAnalogF64(outputs, perPeriod, 1, 10.0, DAQmx_Val_GroupByScanNumber,
                                  interleaved.data(), &written, nullptr),
              0);
    ASSERT_EQ(written, perPeriod);

    ScopedTask scan;
    ASSERT_EQ(addClockedInput(scan, "PXI1Slot2/ai0:1", scanRate, 10000), 0);
    std::vector<double> block(2 * 4000);
    ASSERT_EQ(readScans(scan, 4000, DAQmx_Val_GroupByChannel, block), 0);
    double phase[2];
    for (int k = 0; k < 2; ++k) {
        double inPhase = 0.0;
        double quadrature = 0.0;
        for (int n = 0; n < 4000; ++n) {
            double angle = 2.0 * std::numbers::pi * frequency * n / scanRate;
            inPhase += block[k * 4000 + n] * std::sin(angle);
            quadrature += block[k * 4000 + n] * std::cos(angle);
        }
        phase[k] = std::atan2(quadrature, inPhase);
    }
    double expected = 2.0 * std::numbers::pi * frequency * 1.0e-6;
    EXPECT_NEAR(phase[1] - phase[0], expected, 0.01 * expected);
    float64 convertRate = 0.0;
    ASSERT_EQ(DAQmxGetAIConvRate(scan, &convertRate), 0);
    EXPECT_EQ(convertRate, 1.0e6);
}

} // namespace
