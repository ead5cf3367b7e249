// Clocked generation and acquisition: what is generated on ao0 arrives on ai0 at the
// right frequency and amplitude, triggers start at the crossing, and the buffer, timeout
// and rate limits behave as on the board.
#include "board_fixture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int32 overwritten = -200279;
constexpr int32 timedOut = -200284;
constexpr int32 rateRefused = -209009;

std::vector<double> sine(double amplitude, int samplesPerPeriod, int periods) {
    std::vector<double> samples(static_cast<size_t>(samplesPerPeriod * periods));
    for (size_t k = 0; k < samples.size(); ++k) {
        samples[k] = amplitude *
                     std::sin(2.0 * std::numbers::pi * static_cast<double>(k) / samplesPerPeriod);
    }
    return samples;
}

// Mean period from the rising zero crossings, interpolated between samples.
double measuredFrequency(const std::vector<double> &samples, double rate) {
    std::vector<double> crossings;
    for (size_t k = 1; k < samples.size(); ++k) {
        if (samples[k - 1] < 0.0 && samples[k] >= 0.0) {
            crossings.push_back(static_cast<double>(k - 1) +
                                samples[k - 1] / (samples[k - 1] - samples[k]));
        }
    }
    if (crossings.size() < 2) {
        return 0.0;
    }
    double period = (crossings.back() - crossings.front()) / (crossings.size() - 1) / rate;
    return 1.0 / period;
}

class LoopbackTest : public SimBoardTest {
  protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        ASSERT_EQ(addOutput(generator_, "PXI1Slot2/ao0"), 0);
        ASSERT_EQ(addInput(acquirer_, "PXI1Slot2/ai0"), 0);
    }
    ScopedTask generator_;
    ScopedTask acquirer_;
};

TEST_F(LoopbackTest, ASineGeneratedOnAo0IsAcquiredOnAi0WithItsFrequencyAndAmplitude) {
    // 1 kHz at 100 kS/s out, sampled at 37 kS/s in, so the clocks do not line up.
    ASSERT_EQ(clockAt(generator_, 100000.0, 1000), 0);
    ASSERT_EQ(writeBlock(generator_, sine(4.0, 100, 10)), 0);
    ASSERT_EQ(clockAt(acquirer_, 37000.0, 8000), 0);
    std::vector<double> block(7400);
    int32 read = 0;
    ASSERT_EQ(readBlock(acquirer_, block, 10.0, &read), 0);
    ASSERT_EQ(read, 7400);

    EXPECT_NEAR(measuredFrequency(block, 37000.0), 1000.0, 10.0);
    auto [low, high] = std::minmax_element(block.begin(), block.end());
    EXPECT_NEAR((*high - *low) / 2.0, 4.0, 0.04);
}

TEST_F(LoopbackTest, ContinuousOutputRegeneratesItsBlock) {
    ASSERT_EQ(clockAt(generator_, 1000.0, 4), 0);
    ASSERT_EQ(clockAt(acquirer_, 1000.0, 100), 0);
    ASSERT_EQ(writeBlock(generator_, {1.0, 2.0, 3.0, 4.0}), 0);
    std::vector<double> block(10);
    ASSERT_EQ(readBlock(acquirer_, block), 0);
    EXPECT_EQ(block, (std::vector<double>{1, 2, 3, 4, 1, 2, 3, 4, 1, 2}));

    // A stopped generation leaves the output at the level it had reached.
    ASSERT_EQ(DAQmxStopTask(acquirer_), 0);
    ASSERT_EQ(DAQmxStopTask(generator_), 0);
    double level = 0.0;
    ScopedTask single;
    ASSERT_EQ(addInput(single, "PXI1Slot2/ai0"), 0);
    ASSERT_EQ(readOne(single, level), 0);
    EXPECT_DOUBLE_EQ(level, 2.0);
}

TEST_F(LoopbackTest, ATriggeredAcquisitionStartsAtTheCrossingWithinOneSample) {
    constexpr double level = 1.5;
    ASSERT_EQ(clockAt(generator_, 100000.0, 1000), 0);
    ASSERT_EQ(writeBlock(generator_, sine(4.0, 1000, 1)), 0); // 100 Hz
    ASSERT_EQ(simboard_advanceTime(0.0031), 0);               // away from the crossing
    ASSERT_EQ(clockAt(acquirer_, 20000.0, 1000), 0);
    ASSERT_EQ(DAQmxCfgAnlgEdgeStartTrig(acquirer_, "PXI1Slot2/ai0", DAQmx_Val_RisingSlope, level),
              0);
    std::vector<double> block(100);
    ASSERT_EQ(readBlock(acquirer_, block), 0);

    double step = block[1] - block[0];
    EXPECT_GT(step, 0.0) << "rising";
    EXPECT_GE(block[0], level);
    EXPECT_LT(block[0] - step, level) << "the sample before the first was still below";
}

// A step that lands exactly on the level is a crossing, rising and falling alike.
TEST_F(LoopbackTest, AStepToExactlyTheTriggerLevelTriggers) {
    ASSERT_EQ(clockAt(generator_, 1000.0, 10), 0);
    ASSERT_EQ(writeBlock(generator_, {0, 0, 0, 0, 0, 2, 2, 2, 2, 2}), 0);
    ASSERT_EQ(clockAt(acquirer_, 1000.0, 100), 0);
    std::vector<double> block(3);

    ASSERT_EQ(DAQmxCfgAnlgEdgeStartTrig(acquirer_, "PXI1Slot2/ai0", DAQmx_Val_RisingSlope, 2.0), 0);
    EXPECT_EQ(readBlock(acquirer_, block, 1.0), 0);
    EXPECT_EQ(block, (std::vector<double>{2, 2, 2}));

    ASSERT_EQ(DAQmxStopTask(acquirer_), 0);
    ASSERT_EQ(DAQmxCfgAnlgEdgeStartTrig(acquirer_, "PXI1Slot2/ai0", 10171, 0.0), 0); // falling
    EXPECT_EQ(readBlock(acquirer_, block, 1.0), 0);
    EXPECT_EQ(block, (std::vector<double>{0, 0, 0}));
}

TEST_F(SimBoardTest, ATriggerThatNeverComesEndsTheReadWithATimeout) {
    ScopedTask acquirer;
    ASSERT_EQ(addClockedInput(acquirer, "PXI1Slot2/ai4", 1000.0, 100), 0);
    ASSERT_EQ(DAQmxCfgAnlgEdgeStartTrig(acquirer, "/PXI1Slot2/ai5", DAQmx_Val_RisingSlope, 1.0), 0);
    double before = simboard_time();
    std::vector<double> block(10);
    int32 read = -1;
    EXPECT_EQ(readBlock(acquirer, block, 2.0, &read), timedOut);
    EXPECT_EQ(read, 0);
    EXPECT_NEAR(simboard_time() - before, 2.0, 1e-9);
}

TEST_F(SimBoardTest, TriggerSourcesMustBeAnalogInputsOfTheBoard) {
    constexpr int32 badTrigger = -209011;
    ScopedTask task;
    ASSERT_EQ(addInput(task, "PXI1Slot2/ai0"), 0);
    EXPECT_EQ(DAQmxCfgAnlgEdgeStartTrig(task, "PXI1Slot2/ao0", 10280, 0.0), badTrigger);
    EXPECT_EQ(DAQmxCfgAnlgEdgeStartTrig(task, "PXI1Slot2/ai0", 10280, 11.0), badTrigger);
    EXPECT_EQ(DAQmxCfgAnlgEdgeStartTrig(task, "PXI1Slot2/ai0", 1, 0.0), badTrigger);
    EXPECT_EQ(DAQmxCfgAnlgEdgeStartTrig(task, "PXI1Slot5/ai0", 10280, 0.0), -209001);
    EXPECT_EQ(DAQmxCfgAnlgEdgeStartTrig(task, "PXI1Slot2/ai0", 10280, 0.0), 0);
    EXPECT_EQ(DAQmxDisableStartTrig(task), 0);
}

TEST_F(SimBoardTest, SamplesNotReadInTimeAreOverwrittenUntilTheTaskRestarts) {
    ScopedTask acquirer;
    ASSERT_EQ(addClockedInput(acquirer, "PXI1Slot2/ai0", 1000.0, 20000), 0);
    std::vector<double> block(50);
    ASSERT_EQ(readBlock(acquirer, block), 0);
    ASSERT_EQ(simboard_advanceTime(19.9995), 0); // 19999 more unread samples: still fits
    ASSERT_EQ(readBlock(acquirer, block), 0);
    ASSERT_EQ(simboard_advanceTime(0.2), 0);
    EXPECT_EQ(readBlock(acquirer, block), overwritten);
    EXPECT_NE(errorText(overwritten).find("20000"), std::string::npos);
    EXPECT_EQ(readBlock(acquirer, block), overwritten) << "until the task restarts";
    ASSERT_EQ(DAQmxStopTask(acquirer), 0);
    EXPECT_EQ(readBlock(acquirer, block), 0);
}

TEST_F(SimBoardTest, AReadLargerThanTheBufferIsServedAsTheSamplesArrive) {
    ScopedTask acquirer;
    ASSERT_EQ(addClockedInput(acquirer, "PXI1Slot2/ai0", 1000.0, 10), 0);
    std::vector<double> block(20000); // twice the buffer the rate gives
    EXPECT_EQ(readBlock(acquirer, block, 30.0), 0);
}

// The driver makes a continuous input buffer at least as large as its default for the
// rate, whatever smaller size the clock call asks for.
TEST_F(SimBoardTest, AContinuousInputGetsAtLeastTheDriversBufferForItsRate) {
    struct Case {
        double rate;
        uInt64 requested;
        uint64_t buffer;
    };
    for (const Case &c : {Case{100.0, 1, 1000}, Case{100.5, 1, 10000}, Case{10000.0, 1000, 10000},
                          Case{10000.5, 1, 100000}, Case{1.0e6, 1, 100000},
                          Case{1.25e6, 2000000, 2000000}, Case{1.0e6 + 1.0, 1, 1000000}}) {
        SCOPED_TRACE(c.rate);
        ScopedTask acquirer;
        ASSERT_EQ(addClockedInput(acquirer, "PXI1Slot2/ai0", c.rate, c.requested), 0);
        ASSERT_EQ(DAQmxStartTask(acquirer), 0);
        ASSERT_EQ(simboard_advanceTime(static_cast<double>(c.buffer - 1) / c.rate), 0);
        double first = 0.0;
        ASSERT_EQ(readOne(acquirer, first), 0) << "a full buffer, nothing lost yet";
        ASSERT_EQ(simboard_advanceTime(2.0 / c.rate), 0);
        EXPECT_EQ(readOne(acquirer, first), overwritten);
        EXPECT_NE(errorText(overwritten).find("more than " + std::to_string(c.buffer) + " samples"),
                  std::string::npos)
            << errorText(overwritten);
    }
}

TEST_F(SimBoardTest, AReadHalfASecondAfterTheStartFindsTheSamplesOfTheLibrarysClock) {
    ScopedTask acquirer;
    ASSERT_EQ(addClockedInput(acquirer, "PXI1Slot2/ai0", 10000.0, 1000), 0);
    ASSERT_EQ(DAQmxStartTask(acquirer), 0);
    ASSERT_EQ(simboard_advanceTime(0.5), 0);
    std::vector<double> block(1000);
    int32 read = 0;
    EXPECT_EQ(readBlock(acquirer, block, 10.0, &read), 0);
    EXPECT_EQ(read, 1000);
}

TEST_F(SimBoardTest, AReadTimesOutWithTheSamplesThatExistByThen) {
    ScopedTask acquirer;
    ASSERT_EQ(addClockedInput(acquirer, "PXI1Slot2/ai0", 1000.0, 1000), 0);
    std::vector<double> block(1000);
    int32 read = 0;
    double before = simboard_time();
    EXPECT_EQ(readBlock(acquirer, block, 0.5, &read), timedOut);
    EXPECT_EQ(read, 501); // samples 0 .. 500 come at 0 .. 0.5 s
    EXPECT_NEAR(simboard_time() - before, 0.5, 1e-9);
    EXPECT_EQ(readBlock(acquirer, block, 0.0, &read), timedOut);
    EXPECT_EQ(read, 0);
}

TEST_F(SimBoardTest, SampleClockRatesAndSourcesAreLimitedToTheBoards) {
    ScopedTask input;
    ScopedTask output;
    ASSERT_EQ(addInput(input, "PXI1Slot2/ai0"), 0);
    ASSERT_EQ(addOutput(output, "PXI1Slot2/ao0"), 0);
    EXPECT_EQ(clockAt(input, 1.25e6, 1000), 0);
    EXPECT_EQ(clockAt(input, 1.25e6 + 1.0, 1000), rateRefused);
    EXPECT_NE(errorText(rateRefused).find("1.25e+06"), std::string::npos);
    EXPECT_EQ(clockAt(output, 2.86e6, 1000), 0);
    EXPECT_EQ(clockAt(output, 2.87e6, 1000), rateRefused);
    EXPECT_NE(errorText(rateRefused).find("2.86e+06"), std::string::npos);
    EXPECT_EQ(clockAt(input, 0.0, 1000), rateRefused);
    EXPECT_EQ(clockAt(input, -5.0, 1000), rateRefused);

    EXPECT_EQ(DAQmxCfgSampClkTiming(input, "", 2.9, 10280, 10123, 2), 0);
    EXPECT_EQ(DAQmxCfgSampClkTiming(input, "/PXI1Slot2/PFI0", 1000.0, 10280, 10123, 2), -209010);
    EXPECT_EQ(DAQmxCfgSampClkTiming(input, "", 1000.0, 10171, 10178, 2), -209015);
    EXPECT_EQ(DAQmxCfgSampClkTiming(input, "", 1000.0, 10280, 10123, 0), -209015);
}

TEST_F(SimBoardTest, TimingCannotChangeWhileTheTaskRuns) {
    ScopedTask acquirer;
    ASSERT_EQ(addClockedInput(acquirer, "PXI1Slot2/ai0", 1000.0, 100), 0);
    ASSERT_EQ(DAQmxStartTask(acquirer), 0);
    EXPECT_EQ(clockAt(acquirer, 500.0, 100), -209019);
    EXPECT_EQ(DAQmxCfgAnlgEdgeStartTrig(acquirer, "PXI1Slot2/ai1", 10280, 0.0), -209019);
}

TEST_F(SimBoardTest, AGenerationNeedsDataBeforeItStarts) {
    ScopedTask generator;
    ASSERT_EQ(addClockedOutput(generator, "PXI1Slot2/ao0", 1000.0, 10), 0);
    EXPECT_EQ(DAQmxStartTask(generator), -209020);
    std::vector<double> block{1.0, 2.0};
    ASSERT_EQ(DAQmxWriteAnalogF64(generator, 2, 0, 1.0, 0, block.data(), nullptr, nullptr), 0);
    EXPECT_EQ(DAQmxStartTask(generator), 0);
}

} // namespace
