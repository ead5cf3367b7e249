// Scans: several inputs in one task, each with its own signal, range and terminal
// configuration; the converter's aggregate limit, finite acquisitions and the digital
// start trigger on a switch.
#include "board_fixture.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace {

constexpr int32 reserved = -50103;
constexpr int32 rateRefused = -209009;
constexpr int32 channelRefused = -209016;
constexpr int32 argumentRefused = -209015;
constexpr int32 beyondFinal = -200278;

int32 addInputAs(TaskHandle task, const char *channels, int32 terminal, double range = 10.0) {
    return DAQmxCreateAIVoltageChan(task, channels, "", terminal, -range, range, DAQmx_Val_Volts,
                                    "");
}

double mean(const std::vector<double> &values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// Channel k of a block read in `layout`, as a series of its own.
std::vector<double> channelOf(const std::vector<double> &data, int32 layout, size_t channels,
                              size_t k) {
    size_t perChannel = data.size() / channels;
    std::vector<double> series(perChannel);
    for (size_t n = 0; n < perChannel; ++n) {
        series[n] =
            layout == DAQmx_Val_GroupByChannel ? data[k * perChannel + n] : data[n * channels + k];
    }
    return series;
}

class FourChannelScan : public SimBoardTest, public ::testing::WithParamInterface<int32> {};

// ao0 generates a sine (wired to ai0), the powered joystick is held (ai2, ai3), and ai5
// has a fixed voltage: each lands in its own place of either layout.
TEST_P(FourChannelScan, GivesEachChannelItsOwnSignal) {
    const int32 layout = GetParam();
    ScopedTask generator;
    std::vector<double> wave(100);
    for (size_t n = 0; n < wave.size(); ++n) {
        wave[n] = 4.0 * std::sin(2.0 * std::numbers::pi * static_cast<double>(n) / 100.0);
    }
    ASSERT_EQ(addClockedOutput(generator, "PXI1Slot2/ao0", 10000.0, 100), 0); // 100 Hz
    ASSERT_EQ(writeBlock(generator, wave), 0);
    ASSERT_EQ(simboard_setInputLine(2, 0, 1), 0);
    ASSERT_EQ(simboard_holdJoystick(1.0, 4.2), 0);
    ASSERT_EQ(simboard_setAnalogInput(5, 1.25), 0);

    ScopedTask scan;
    ASSERT_EQ(addInput(scan, "PXI1Slot2/ai0"), 0);
    ASSERT_EQ(addInput(scan, "/PXI1Slot2/ai2:3, PXI1Slot2/ai5"), 0);
    ASSERT_EQ(clockAt(scan, 1000.0, 1000), 0);
    std::vector<double> data(4 * 500);
    ASSERT_EQ(readScans(scan, 500, layout, data), 0);

    // Both clocks started together: scan n meets output sample 10 n.
    std::vector<double> sine = channelOf(data, layout, 4, 0);
    for (size_t n = 0; n < sine.size(); ++n) {
        ASSERT_NEAR(sine[n], wave[(10 * n) % wave.size()], codeAt10V) << "scan " << n;
    }
    EXPECT_NEAR(mean(channelOf(data, layout, 4, 1)), 1.0, 0.005) << "joystick X";
    EXPECT_NEAR(mean(channelOf(data, layout, 4, 2)), 4.2, 0.005) << "joystick Y";
    for (double value : channelOf(data, layout, 4, 3)) {
        ASSERT_NEAR(value, 1.25, codeAt10V);
    }
}

INSTANTIATE_TEST_SUITE_P(FillModes, FourChannelScan,
                         ::testing::Values(DAQmx_Val_GroupByChannel, DAQmx_Val_GroupByScanNumber));

TEST_F(SimBoardTest, TheSmallestRangeHoldingTheLimitsResolvesItsSixteenBits) {
    constexpr double range = 0.1;
    constexpr double code = 2.0 * range / 65536.0;
    ScopedTask narrow;
    ASSERT_EQ(addInput(narrow, "PXI1Slot2/ai4", -0.08, 0.1), 0);
    double value = 0.0;
    ASSERT_EQ(simboard_setAnalogInput(4, 0.05), 0);
    ASSERT_EQ(readOne(narrow, value), 0);
    EXPECT_NEAR(value, 0.05, 10e-6);

    ASSERT_EQ(simboard_setAnalogInput(4, 0.0123457), 0);
    ASSERT_EQ(readOne(narrow, value), 0);
    EXPECT_NEAR(value, 0.0123457, code / 2.0);
    EXPECT_NEAR(value / code, std::round(value / code), 1e-6) << "a whole number of codes";

    ASSERT_EQ(simboard_setAnalogInput(4, 0.2), 0);
    ASSERT_EQ(readOne(narrow, value), 0);
    EXPECT_DOUBLE_EQ(value, range - code) << "the range's last code";
    ASSERT_EQ(simboard_setAnalogInput(4, -0.2), 0);
    ASSERT_EQ(readOne(narrow, value), 0);
    EXPECT_DOUBLE_EQ(value, -range);
}

// ai4 carries 2 V and ai12 0.5 V: single-ended configurations read ai4 against ground
// (AI SENSE is grounded on the stand), differential reads the difference.
TEST_F(SimBoardTest, TerminalConfigurationsChooseWhatAnInputIsMeasuredAgainst) {
    ASSERT_EQ(simboard_setAnalogInput(4, 2.0), 0);
    ASSERT_EQ(simboard_setAnalogInput(12, 0.5), 0);
    for (auto [terminal, expected] : {std::pair{DAQmx_Val_RSE, 2.0}, std::pair{DAQmx_Val_NRSE, 2.0},
                                      std::pair{-1, 2.0}, std::pair{DAQmx_Val_Diff, 1.5}}) {
        ScopedTask task;
        ASSERT_EQ(addInputAs(task, "PXI1Slot2/ai4", terminal), 0) << terminal;
        double value = 0.0;
        ASSERT_EQ(readOne(task, value), 0);
        EXPECT_NEAR(value, expected, codeAt10V) << terminal;
    }
    ScopedTask unknown;
    EXPECT_EQ(addInputAs(unknown, "PXI1Slot2/ai4", 12345), argumentRefused);
}

TEST_F(SimBoardTest, AChannelTwiceOrAHalfOfADifferentialPairTwiceIsRefused) {
    struct Case {
        const char *first;
        int32 firstTerminal;
        const char *second;
        int32 secondTerminal;
        const char *named; // in the refusal's text
    };
    for (const Case &c :
         {Case{"PXI1Slot2/ai4", DAQmx_Val_Diff, "PXI1Slot2/ai12", DAQmx_Val_RSE, "partner"},
          Case{"PXI1Slot2/ai12", DAQmx_Val_RSE, "PXI1Slot2/ai4", DAQmx_Val_Diff, "ai12"},
          Case{"PXI1Slot2/ai0:3", DAQmx_Val_RSE, "PXI1Slot2/ai2", DAQmx_Val_NRSE, "already"},
          Case{"PXI1Slot2/ai1", DAQmx_Val_RSE, "PXI1Slot2/ai5,PXI1Slot2/ai5", DAQmx_Val_RSE,
               "already"}}) {
        ScopedTask task;
        ASSERT_EQ(addInputAs(task, c.first, c.firstTerminal), 0) << c.first;
        int32 status = addInputAs(task, c.second, c.secondTerminal);
        ASSERT_EQ(status, channelRefused) << c.first << " then " << c.second;
        EXPECT_NE(errorText(status).find(c.named), std::string::npos) << errorText(status);
    }
    ScopedTask task;
    EXPECT_EQ(addInputAs(task, "PXI1Slot2/ai8", DAQmx_Val_Diff), argumentRefused);
    EXPECT_NE(errorText(argumentRefused).find("ai0 to ai7"), std::string::npos);
    EXPECT_EQ(addInputAs(task, "PXI1Slot2/ai2:3,PXI1Slot2/ai2", DAQmx_Val_Diff), channelRefused)
        << "twice in the same list";
    EXPECT_EQ(addInputAs(task, "PXI1Slot2/ai3", DAQmx_Val_Diff), 0) << "nothing of it was kept";
}

TEST_F(SimBoardTest, TheConvertersLimitIsForAllChannelsTogether) {
    ScopedTask sixteen;
    ASSERT_EQ(addInput(sixteen, "PXI1Slot2/ai0:15"), 0);
    ASSERT_EQ(clockAt(sixteen, 100000.0, 1000), rateRefused);
    EXPECT_NE(errorText(rateRefused)
                  .find("Rate 100000 S/s on 16 channels is 1.6 MS/s in all; the analog input "
                        "limit for several channels is 1 MS/s in all."),
              std::string::npos)
        << errorText(rateRefused);
    EXPECT_EQ(clockAt(sixteen, 62500.0, 1000), 0);

    // A channel added after the clock is counted at the start.
    ScopedTask grown;
    ASSERT_EQ(addClockedInput(grown, "PXI1Slot2/ai0", 1.0e6, 1000), 0);
    ASSERT_EQ(addInput(grown, "PXI1Slot2/ai1"), 0);
    EXPECT_EQ(DAQmxStartTask(grown), rateRefused);
    EXPECT_NE(errorText(rateRefused).find("2 MS/s in all"), std::string::npos);
}

TEST_F(SimBoardTest, ARunningScanHoldsTheConverterAgainstOtherReads) {
    ScopedTask scan("scan");
    ASSERT_EQ(addClockedInput(scan, "PXI1Slot2/ai0:3", 1000.0, 1000), 0);
    ASSERT_EQ(DAQmxStartTask(scan), 0);
    ScopedTask single;
    ASSERT_EQ(addInput(single, "PXI1Slot2/ai7"), 0);
    double value = 0.0;
    ASSERT_EQ(readOne(single, value), reserved);
    EXPECT_NE(errorText(reserved).find("running task \"scan\""), std::string::npos)
        << errorText(reserved);
    ScopedTask other;
    ASSERT_EQ(addClockedInput(other, "PXI1Slot2/ai8", 1000.0, 1000), 0);
    EXPECT_EQ(DAQmxStartTask(other), reserved);
    ASSERT_EQ(DAQmxStopTask(scan), 0);
    EXPECT_EQ(readOne(single, value), 0);
}

TEST_F(SimBoardTest, AFiniteScanAcquiresExactlyItsSamplesThenIsDone) {
    ScopedTask scan;
    ASSERT_EQ(addInput(scan, "PXI1Slot2/ai0:1"), 0);
    ASSERT_EQ(DAQmxCfgSampClkTiming(scan, "", 1000.0, DAQmx_Val_Rising, DAQmx_Val_FiniteSamps, 100),
              0);
    std::vector<double> data(2 * 60);
    ASSERT_EQ(readScans(scan, 60, DAQmx_Val_GroupByChannel, data), 0);
    ASSERT_EQ(simboard_advanceTime(1.0), 0);
    uInt64 acquired = 0;
    ASSERT_EQ(DAQmxGetReadTotalSampPerChanAcquired(scan, &acquired), 0);
    EXPECT_EQ(acquired, 100u) << "no more than N, counting those not read yet";
    ASSERT_EQ(readScans(scan, 50, DAQmx_Val_GroupByChannel, data), beyondFinal);
    EXPECT_NE(errorText(beyondFinal).find("40 of its 100 left"), std::string::npos);
    ASSERT_EQ(readScans(scan, 40, DAQmx_Val_GroupByChannel, data), 0);
    EXPECT_EQ(readScans(scan, 1, DAQmx_Val_GroupByChannel, data), beyondFinal);
}

TEST_F(SimBoardTest, TheTimingPropertiesTellTheClockTheConverterAndTheCount) {
    ScopedTask scan;
    ASSERT_EQ(addClockedInput(scan, "PXI1Slot2/ai0:3", 2500.0, 1000), 0);
    float64 rate = 0.0;
    ASSERT_EQ(DAQmxGetSampClkRate(scan, &rate), 0);
    EXPECT_EQ(rate, 2500.0);
    ASSERT_EQ(DAQmxGetAIConvRate(scan, &rate), 0);
    EXPECT_EQ(rate, 1.0e6);
    ASSERT_EQ(DAQmxStartTask(scan), 0);
    ASSERT_EQ(simboard_advanceTime(0.1), 0);
    uInt64 acquired = 0;
    ASSERT_EQ(DAQmxGetReadTotalSampPerChanAcquired(scan, &acquired), 0);
    EXPECT_EQ(acquired, 251u) << "samples at 0, 0.4 ms, ... 100 ms";
    EXPECT_EQ(DAQmxGetAIConvRate(scan, nullptr), argumentRefused);
}

// S1 is pressed for the first second of each 8-second cycle: armed at 2 s, a falling edge
// on PFI4 (port 1 line 4) starts the scan at 8 s, a rising one at 9 s.
TEST_F(SimBoardTest, ASwitchOnAPfiLineStartsAScanOnItsEdge) {
    for (auto [edge, expectedStart] :
         {std::pair{DAQmx_Val_Falling, 8.0}, std::pair{DAQmx_Val_Rising, 9.0}}) {
        ASSERT_EQ(simboard_advanceTime(2.0003 - std::fmod(simboard_time(), 8.0)), 0);
        double armed = simboard_time();
        ScopedTask scan;
        ASSERT_EQ(addClockedInput(scan, "PXI1Slot2/ai2:3", 1000.0, 1000), 0);
        ASSERT_EQ(DAQmxCfgDigEdgeStartTrig(scan, "/PXI1Slot2/PFI4", edge), 0);
        std::vector<double> data(2 * 10);
        ASSERT_EQ(readScans(scan, 10, DAQmx_Val_GroupByScanNumber, data), 0);
        double cycleStart = armed - 2.0003;
        EXPECT_NEAR(simboard_time() - cycleStart, expectedStart + 0.0003 + 0.009, 1e-5) << edge;
    }
    ScopedTask scan;
    ASSERT_EQ(addInput(scan, "PXI1Slot2/ai0"), 0);
    EXPECT_EQ(DAQmxCfgDigEdgeStartTrig(scan, "/PXI1Slot2/PFI16", DAQmx_Val_Rising), -209011);
    EXPECT_EQ(DAQmxCfgDigEdgeStartTrig(scan, "/PXI1Slot2/ai/StartTrigger", DAQmx_Val_Rising),
              -209011)
        << "an input is not started by its own start";
    EXPECT_EQ(DAQmxCfgDigEdgeStartTrig(scan, "/PXI1Slot2/PFI15", 1), -209011);
}

} // namespace
