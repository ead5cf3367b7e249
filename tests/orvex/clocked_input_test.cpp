// One-shot clocked reads and the continuous fetch, with their lazily applied settings.
#include "recorded_driver_fixture.h"

#include <numeric>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

using ClockedInputTest = RecordedDriverTest;

TEST_F(ClockedInputTest, FirstReadConfiguresTheDefaultsAndTheSecondDoesNot) {
    std::vector<double> block(100);
    int count = 0;
    EXPECT_EQ(orvex_analogRead(0, block.data(), 100, &count), 0);
    EXPECT_EQ(count, 100);
    EXPECT_THAT(calls(),
                ElementsAre(R"(DAQmxCreateTask("analog0I", &))",
                            R"(DAQmxCreateAIVoltageChan(analog0I, "PXI1Slot2/ai0", "", 10083, )"
                            R"(-10, 10, 10348, ""))",
                            R"(DAQmxCfgSampClkTiming(analog0I, "OnboardClock", 1000, 10280, )"
                            R"(10123, 100))",
                            "DAQmxDisableStartTrig(analog0I)",
                            "DAQmxReadAnalogF64(analog0I, 100, 10, 0, 100, &, null)",
                            "DAQmxStopTask(analog0I)"));
    rd_reset();
    EXPECT_EQ(orvex_analogReadEx(0, block.data(), 30, nullptr, 2.5), 0);
    EXPECT_THAT(calls(), ElementsAre("DAQmxReadAnalogF64(analog0I, 30, 2.5, 0, 30, &, null)",
                                     "DAQmxStopTask(analog0I)"));
}

TEST_F(ClockedInputTest, SettingsChangedTwiceAreAppliedOncePerChannelWithTheLatest) {
    double block[4];
    orvex_analogRead(1, block, 4, nullptr);
    orvex_analogRead(2, block, 4, nullptr);
    orvex_analogInClk("PFI0", 10.0);
    orvex_analogInClk(nullptr, 500.0);
    orvex_analogInTrigger("APFI0", 1.5);
    rd_reset();
    orvex_analogRead(1, block, 4, nullptr);
    orvex_analogRead(1, block, 4, nullptr);
    EXPECT_THAT(calls(), ElementsAre(R"(DAQmxCfgSampClkTiming(analog1I, "", 500, 10280, 10123, 4))",
                                     R"(DAQmxCfgAnlgEdgeStartTrig(analog1I, "APFI0", 10280, 1.5))",
                                     "DAQmxReadAnalogF64(analog1I, 4, 10, 0, 4, &, null)",
                                     "DAQmxStopTask(analog1I)",
                                     "DAQmxReadAnalogF64(analog1I, 4, 10, 0, 4, &, null)",
                                     "DAQmxStopTask(analog1I)"));
    EXPECT_EQ(orvex::anlgClock.maskClk, ~0b10);
    EXPECT_EQ(orvex::anlgClock.maskTrig, ~0b10);
}

TEST_F(ClockedInputTest, NullOrEmptyTriggerSourceRemovesTheTrigger) {
    double block[2];
    for (const char *source : {static_cast<const char *>(nullptr), "", "Dev1/ai0"}) {
        orvex_analogInTrigger("x", 3.0);
        EXPECT_EQ(orvex_analogInTrigger(source, 0.25), 0);
        rd_reset();
        orvex_analogRead(3, block, 2, nullptr);
        const std::string expected = source == nullptr || *source == '\0'
                                         ? "DAQmxDisableStartTrig(analog3I)"
                                         : R"(DAQmxCfgAnlgEdgeStartTrig(analog3I, "Dev1/ai0", )"
                                           R"(10280, 0.25))";
        EXPECT_THAT(calls(), ::testing::Contains(expected)) << (source ? source : "null");
    }
}

TEST_F(ClockedInputTest, FailedTimingOrTriggerLeavesTheChannelDue) {
    double block[2];
    rd_scriptStatus("DAQmxCfgSampClkTiming", 1, -200077);
    EXPECT_EQ(orvex_analogRead(0, block, 2, nullptr), -200077);
    EXPECT_NE(orvex::anlgClock.maskClk & 1, 0);
    EXPECT_NE(orvex::anlgClock.maskTrig & 1, 0);

    rd_reset();
    rd_scriptStatus("DAQmxDisableStartTrig", 1, -200077);
    EXPECT_EQ(orvex_analogRead(0, block, 2, nullptr), -200077);
    EXPECT_EQ(orvex::anlgClock.maskClk & 1, 0);
    EXPECT_NE(orvex::anlgClock.maskTrig & 1, 0);

    rd_reset();
    EXPECT_EQ(orvex_analogRead(0, block, 2, nullptr), 0);
    EXPECT_EQ(calls().front(), "DAQmxDisableStartTrig(analog0I)");
}

TEST_F(ClockedInputTest, BlockDeliveredInPiecesLandsContiguously) {
    std::vector<double> expected(10);
    std::iota(expected.begin(), expected.end(), 1.0);
    rd_queueAnalogRead(expected.data(), 3, 3);
    rd_queueAnalogRead(expected.data() + 3, 5, 5);
    rd_queueAnalogRead(expected.data() + 8, 2, 2);
    std::vector<double> block(10, -1.0);
    int count = 0;
    EXPECT_EQ(orvex_analogReadEx(4, block.data(), 10, &count, 1.0), 0);
    EXPECT_THAT(block, ElementsAreArray(expected));
    EXPECT_EQ(count, 10);
    const auto recorded = calls();
    EXPECT_EQ(recorded[4], "DAQmxReadAnalogF64(analog4I, 10, 1, 0, 10, &, null)");
    EXPECT_EQ(recorded[5], "DAQmxReadAnalogF64(analog4I, 7, 1, 0, 7, &, null)");
    EXPECT_EQ(recorded[6], "DAQmxReadAnalogF64(analog4I, 2, 1, 0, 2, &, null)");
    EXPECT_EQ(recorded[7], "DAQmxStopTask(analog4I)");
}

TEST_F(ClockedInputTest, ReadThatMovesNoSampleEndsTheBlockInsteadOfLooping) {
    const double first[2] = {0.5, 0.75};
    rd_queueAnalogRead(first, 2, 2);
    rd_queueAnalogRead(first, 0, 0);
    double block[5] = {};
    int count = -1;
    EXPECT_EQ(orvex_analogRead(0, block, 5, &count), ORVEX_STATUS_NO_PROGRESS);
    EXPECT_EQ(orvex_GetLastError(), ORVEX_STATUS_NO_PROGRESS);
    EXPECT_EQ(errorText(), "orvex: the driver reported success but moved no sample "
                           "(2 of 5 samples done)");
    EXPECT_EQ(count, -1);
    EXPECT_EQ(block[1], 0.75);
    EXPECT_EQ(calls().back(), "DAQmxReadAnalogF64(analog0I, 3, 10, 0, 3, &, null)"); // no stop
}

TEST_F(ClockedInputTest, FailedReadSkipsTheStopAndLeavesTheCountAlone) {
    rd_scriptStatus("DAQmxReadAnalogF64", 1, -200284);
    double block[3];
    int count = -1;
    EXPECT_EQ(orvex_analogRead(5, block, 3, &count), -200284);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(calls().back(), "DAQmxGetErrorString(-200284, 1024)");
    EXPECT_THAT(calls(), ::testing::Not(::testing::Contains("DAQmxStopTask(analog5I)")));
}

TEST_F(ClockedInputTest, FetchConfiguresOneSecondOfSamples) {
    struct Case {
        double rate;
        const char *timing;
    };
    for (const Case &c : {Case{1000.0, R"(DAQmxCfgSampClkTiming(analog0I, "OnboardClock", 1000, )"
                                       R"(10280, 10123, 1000))"},
                          Case{2.9, R"(DAQmxCfgSampClkTiming(analog0I, "OnboardClock", 2.9, )"
                                    R"(10280, 10123, 2))"},
                          Case{-5.0, R"(DAQmxCfgSampClkTiming(analog0I, "OnboardClock", -5, )"
                                     R"(10280, 10123, 0))"}}) {
        orvex_analogInClk("OnboardClock", c.rate);
        rd_reset();
        double block[2];
        orvex_analogFetchEx(0, block, 2, nullptr, 1.0);
        EXPECT_THAT(calls(), ::testing::Contains(c.timing));
        orvex_analogInStop(0);
    }
}

TEST_F(ClockedInputTest, AWarningOfTheLastPieceIsTheFetchsStatus) {
    constexpr int32_t warning = 200015;
    const double piece[2] = {0.25, 0.5};
    rd_queueAnalogRead(piece, 1, 1);
    rd_queueAnalogRead(piece + 1, 1, 1);
    rd_scriptStatus("DAQmxReadAnalogF64", 2, warning);
    double block[2];
    int count = 0;
    EXPECT_EQ(orvex_analogFetchEx(0, block, 2, &count, 1.0), warning);
    EXPECT_EQ(orvex_GetLastError(), warning);
    EXPECT_EQ(count, 2);
}

TEST_F(ClockedInputTest, FetchStatusFollowsSetupAndStop) {
    double block[8];
    int count = 0;
    EXPECT_EQ(orvex_analogFetchStatus(), 0);
    EXPECT_EQ(orvex_GetLastError(), 0);
    EXPECT_EQ(orvex_analogFetchEx(6, block, 8, &count, 1.0), 0);
    EXPECT_EQ(count, 8);
    EXPECT_EQ(orvex_analogFetchStatus(), 1);
    EXPECT_EQ(orvex_GetLastError(), 1);
    rd_reset();
    EXPECT_EQ(orvex_analogFetchEx(6, block, 8, &count, 1.0), 0);
    EXPECT_THAT(calls(), ElementsAre("DAQmxReadAnalogF64(analog6I, 8, 1, 0, 8, &, null)"));
    rd_reset();
    EXPECT_EQ(orvex_analogInStop(6), 0);
    EXPECT_THAT(calls(), ElementsAre("DAQmxStopTask(analog6I)"));
    EXPECT_EQ(orvex_analogFetchStatus(), 0);
}

TEST_F(ClockedInputTest, FetchOfAnotherChannelIsRefusedAndChangesNothing) {
    double block[2];
    orvex_analogFetchEx(1, block, 2, nullptr, 1.0);
    rd_reset();
    EXPECT_EQ(orvex_analogFetchEx(2, block, 2, nullptr, 1.0), -1);
    EXPECT_EQ(errorText(), "ASSERT ERORR: orvex, line 489: anlgClock.maskFetch == (1<<idx)");
    EXPECT_THAT(calls(), IsEmpty());
    EXPECT_EQ(orvex::anlgClock.maskFetch, 1 << 1);
    EXPECT_EQ(orvex::cache.ai[2], nullptr);

    EXPECT_EQ(orvex_analogInStop(2), -1);
    EXPECT_EQ(errorText(), "ASSERT ERORR: orvex, line 519: anlgClock.maskFetch == (1<<idx)");
    EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(ClockedInputTest, FailedFetchSetupLeavesNothingMarked) {
    rd_scriptStatus("DAQmxDisableStartTrig", 1, -200077);
    double block[2];
    EXPECT_EQ(orvex_analogFetchEx(0, block, 2, nullptr, 1.0), -200077);
    EXPECT_EQ(orvex::anlgClock.maskFetch, 0);
    EXPECT_EQ(orvex_analogFetchStatus(), 0);
}

TEST_F(ClockedInputTest, FailedStopKeepsTheFetchMarked) {
    double block[2];
    orvex_analogFetchEx(0, block, 2, nullptr, 1.0);
    rd_scriptStatus("DAQmxStopTask", 1, -200010);
    EXPECT_EQ(orvex_analogInStop(0), -200010);
    EXPECT_EQ(orvex_analogFetchStatus(), 1);
}

TEST_F(ClockedInputTest, SettingsChangedWhileFetchingWaitForTheNextSetup) {
    double block[2];
    orvex_analogFetchEx(0, block, 2, nullptr, 1.0);
    orvex_analogInClk("PFI1", 100.0);
    rd_reset();
    orvex_analogFetchEx(0, block, 2, nullptr, 1.0);
    EXPECT_EQ(calls().size(), 1u);
    orvex_analogInStop(0);
    rd_reset();
    orvex_analogFetchEx(0, block, 2, nullptr, 1.0);
    EXPECT_EQ(calls().front(),
              R"(DAQmxCfgSampClkTiming(analog0I, "PFI1", 100, 10280, 10123, 100))");
}

} // namespace
