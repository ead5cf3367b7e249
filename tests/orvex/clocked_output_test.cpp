// Clocked generation: settings, the generating mark, and the write loop.
#include "recorded_driver_fixture.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using ClockedOutputTest = RecordedDriverTest;

const double wave[3] = {0.5, -1.0, 2.0};

TEST_F(ClockedOutputTest, FirstWriteConfiguresTheDefaultsAndMarksTheChannel) {
    EXPECT_EQ(orvex_analogWrite(0, wave, 3), 0);
    EXPECT_THAT(calls(),
                ElementsAre(R"(DAQmxCreateTask("analog0o", &))",
                            R"(DAQmxCreateAOVoltageChan(analog0o, "PXI1Slot2/ao0", "", -10, 10, )"
                            R"(10348, ""))",
                            R"(DAQmxCfgSampClkTiming(analog0o, "OnboardClock", 1000, 10280, )"
                            R"(10123, 3))",
                            "DAQmxDisableStartTrig(analog0o)",
                            "DAQmxWriteAnalogF64(analog0o, 3, 1, 10, 0, [0.5,-1,2], &, null)"));
    EXPECT_EQ(orvex::dacOpt.maskFetch, 1);
}

TEST_F(ClockedOutputTest, WriteOnTheMarkedChannelStopsItFirst) {
    orvex_analogWrite(0, wave, 3);
    rd_reset();
    EXPECT_EQ(orvex_analogWriteEx(0, wave, 2, 4.0), 0);
    EXPECT_THAT(calls(),
                ElementsAre("DAQmxStopTask(analog0o)",
                            "DAQmxWriteAnalogF64(analog0o, 2, 1, 4, 0, [0.5,-1], &, null)"));
    EXPECT_EQ(orvex::dacOpt.maskFetch, 1);
}

TEST_F(ClockedOutputTest, WriteOnTheOtherChannelMovesTheMarkWithoutAStop) {
    orvex_analogWrite(0, wave, 3);
    orvex_analogWrite(1, wave, 1);
    EXPECT_THAT(calls(), ::testing::Not(Contains("DAQmxStopTask(analog0o)")));
    EXPECT_EQ(orvex::dacOpt.maskFetch, 1 << 1);
    rd_reset();
    EXPECT_EQ(orvex_analogOutStop(0), -1);
    EXPECT_EQ(errorText(), "ASSERT ERORR: orvex, line 605: dacOpt.maskFetch == (1<<idx)");
    EXPECT_THAT(calls(), IsEmpty());
    EXPECT_EQ(orvex_analogOutStop(1), 0);
    EXPECT_THAT(calls(), ElementsAre("DAQmxStopTask(analog1o)"));
    EXPECT_EQ(orvex::dacOpt.maskFetch, 0);
}

TEST_F(ClockedOutputTest, FailedStopBeforeAWriteDoesNotStopTheWrite) {
    orvex_analogWrite(1, wave, 3);
    rd_reset();
    rd_scriptStatus("DAQmxStopTask", 1, -200010);
    EXPECT_EQ(orvex_analogWrite(1, wave, 3), 0);
    EXPECT_EQ(orvex_GetLastError(), 0);
    EXPECT_EQ(errorText(), "recording driver: status -200010");
    EXPECT_EQ(calls().back(), "DAQmxWriteAnalogF64(analog1o, 3, 1, 10, 0, [0.5,-1,2], &, null)");
}

TEST_F(ClockedOutputTest, TriggerSettingsReachEachChannelAtItsNextWrite) {
    orvex_analogWrite(0, wave, 1);
    orvex_analogWrite(1, wave, 1);
    EXPECT_EQ(orvex_analogOutTrigger("APFI0", 1.5), 0);
    EXPECT_EQ(orvex_analogOutClk("PFI3", 250.0), 0);
    for (int channel : {0, 1}) {
        rd_reset();
        orvex_analogWrite(channel, wave, 2);
        const std::string task = channel == 0 ? "analog0o" : "analog1o";
        EXPECT_THAT(calls(), Contains("DAQmxCfgSampClkTiming(" + task +
                                      R"(, "PFI3", 250, 10280, 10123, 2))"));
        EXPECT_THAT(calls(),
                    Contains("DAQmxCfgAnlgEdgeStartTrig(" + task + R"(, "APFI0", 10280, 1.5))"));
    }
    EXPECT_EQ(orvex::anlgClock.maskTrig, -1); // the input side is separate
}

TEST_F(ClockedOutputTest, FailedWriteKeepsTheMarkAsItWas) {
    orvex_analogWrite(0, wave, 3);
    rd_reset();
    rd_scriptStatus("DAQmxWriteAnalogF64", 1, -200292);
    EXPECT_EQ(orvex_analogWrite(1, wave, 3), -200292);
    EXPECT_EQ(orvex::dacOpt.maskFetch, 1);
}

TEST_F(ClockedOutputTest, BlockTakenInPiecesContinuesWhereTheDriverStopped) {
    rd_queueAnalogWritten(1);
    rd_queueAnalogWritten(2);
    EXPECT_EQ(orvex_analogWrite(0, wave, 3), 0);
    const auto recorded = calls();
    EXPECT_EQ(recorded[4], "DAQmxWriteAnalogF64(analog0o, 3, 1, 10, 0, [0.5,-1,2], &, null)");
    EXPECT_EQ(recorded[5], "DAQmxWriteAnalogF64(analog0o, 2, 1, 10, 0, [-1,2], &, null)");
    EXPECT_EQ(recorded.size(), 6u);
}

TEST_F(ClockedOutputTest, AWarningOfTheLastPieceIsTheWritesStatus) {
    constexpr int32_t warning = 200015;
    rd_queueAnalogWritten(1);
    rd_queueAnalogWritten(2);
    rd_scriptStatus("DAQmxWriteAnalogF64", 2, warning);
    EXPECT_EQ(orvex_analogWrite(0, wave, 3), warning);
    EXPECT_EQ(orvex_GetLastError(), warning);
}

TEST_F(ClockedOutputTest, WriteThatTakesNoSampleEndsTheBlockUnmarked) {
    rd_queueAnalogWritten(0);
    EXPECT_EQ(orvex_analogWrite(0, wave, 3), ORVEX_STATUS_NO_PROGRESS);
    EXPECT_EQ(errorText(), "orvex: the driver reported success but moved no sample "
                           "(0 of 3 samples done)");
    EXPECT_EQ(orvex::dacOpt.maskFetch, 0);
    EXPECT_EQ(calls().size(), 5u);
}

} // namespace
