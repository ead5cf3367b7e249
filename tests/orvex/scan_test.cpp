// Scans against the recording driver: the exact driver calls of each scan shape, and what
// the library makes of the driver's answers.
#include "recorded_driver_fixture.h"
#include "scan/scan_clock.h"

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

using ScanTest = RecordedDriverTest;

TEST_F(ScanTest, AFiniteScanMakesOneTaskOfItsChannelsReadsByScanAndReleasesIt) {
    ASSERT_EQ(orvex_scanChannels("ai0:1, ai8", 10.0, ORVEX_RSE), 0) << errorText();
    ASSERT_EQ(orvex_scanChannelSetup("ai1", 0.3, ORVEX_DIFF), 0) << errorText();
    ASSERT_EQ(orvex_scanChannelSetup("ai8", 4.0, ORVEX_NRSE), 0) << errorText();
    ASSERT_EQ(orvex_scanClock(2000.0), 0);
    std::vector<double> data(3 * 5);
    int read = 0;
    EXPECT_EQ(orvex_scanAcquire(data.data(), 5, ORVEX_BY_SCAN, &read, 2.0), 0) << errorText();
    EXPECT_EQ(read, 5);
    EXPECT_THAT(
        calls(),
        ElementsAre(
            R"(DAQmxCreateTask("scan", &))",
            R"(DAQmxCreateAIVoltageChan(scan, "PXI1Slot2/ai0", "", 10083, -10, 10, 10348, ""))",
            R"(DAQmxCreateAIVoltageChan(scan, "PXI1Slot2/ai1", "", 10106, -0.5, 0.5, 10348, ""))",
            R"(DAQmxCreateAIVoltageChan(scan, "PXI1Slot2/ai8", "", 10078, -5, 5, 10348, ""))",
            R"(DAQmxCfgSampClkTiming(scan, "OnboardClock", 2000, 10280, 10178, 5))",
            "DAQmxGetSampClkRate(scan, &)", "DAQmxGetAIConvRate(scan, &)", "DAQmxStartTask(scan)",
            "DAQmxReadAnalogF64(scan, 5, 2, 1, 15, &, null)", "DAQmxStopTask(scan)",
            "DAQmxClearTask(scan)"));
    EXPECT_EQ(rd_liveTaskCount(), 0);
}

TEST_F(ScanTest, AContinuousScanReadsBlocksUntilStoppedAndDatesItsStart) {
    orvex_scanChannels("ai2,ai3", 10.0, ORVEX_RSE);
    orvex_scanClock(62500.0);
    const double before = orvex::utcNow();
    ASSERT_EQ(orvex_scanStart(0), 0) << errorText();
    const double after = orvex::utcNow();
    double block[2 * 4];
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(orvex_scanReadEx(block, 4, ORVEX_BY_SCAN, nullptr, 1.0), 0);
    }
    orvex_ScanInfo info;
    ASSERT_EQ(orvex_scanInfo(&info), 0);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.running, 1);
    EXPECT_DOUBLE_EQ(info.rate, 62500.0);
    EXPECT_DOUBLE_EQ(info.interval, 1.6e-5);
    EXPECT_DOUBLE_EQ(info.channelStep, 1e-6);
    EXPECT_EQ(info.samplesRead, 12);
    EXPECT_EQ(info.startTimeSource, ORVEX_TIME_AT_START);
    EXPECT_GE(info.startTime, before);
    EXPECT_LE(info.startTime, after);
    EXPECT_LE(info.startTimeUncertainty, after - before);
    EXPECT_EQ(orvex_scanStop(), 0);
    EXPECT_EQ(orvex_scanStop(), 1);
    EXPECT_THAT(calls(), ::testing::Contains(R"(DAQmxCfgSampClkTiming(scan, "OnboardClock", )"
                                             R"(62500, 10280, 10123, 62500))"));
    ASSERT_EQ(orvex_scanInfo(&info), 0);
    EXPECT_EQ(info.running, 0);
    EXPECT_EQ(info.samplesRead, 12); // the last scan's, until the next start
}

TEST_F(ScanTest, ATriggeredScanIsDatedFromTheCountAcquiredAtItsFirstRead) {
    orvex_scanChannels("ai0", 10.0, ORVEX_RSE);
    orvex_scanClock(1000.0);
    ASSERT_EQ(orvex_scanTrigger("ai3", 2.5, ORVEX_FALLING), 0);
    ASSERT_EQ(orvex_scanStart(0), 0) << errorText();
    orvex_ScanInfo info;
    orvex_scanInfo(&info);
    EXPECT_EQ(info.startTimeSource, ORVEX_TIME_UNKNOWN);
    double block[100];
    ASSERT_EQ(orvex_scanReadEx(block, 100, ORVEX_BY_SCAN, nullptr, 1.0), 0);
    const double after = orvex::utcNow();
    orvex_scanInfo(&info);
    EXPECT_EQ(info.startTimeSource, ORVEX_TIME_FROM_COUNT);
    // The driver has acquired the 100 samples read: the first came 99.5 ms before.
    EXPECT_NEAR(info.startTime, after - 0.0995, 0.05);
    EXPECT_NEAR(info.startTimeUncertainty, 0.0005, 0.0005);
    EXPECT_THAT(calls(), ::testing::Contains(
                             R"(DAQmxCfgAnlgEdgeStartTrig(scan, "PXI1Slot2/ai3", 10171, 2.5))"));
    EXPECT_THAT(calls(), ::testing::Contains("DAQmxGetReadTotalSampPerChanAcquired(scan, &)"));
}

TEST_F(ScanTest, ADigitalTriggerWaitsForAnEdgeOnAPfiLine) {
    orvex_scanChannels("ai0", 10.0, ORVEX_RSE);
    ASSERT_EQ(orvex_scanTrigger("PFI4", 0.0, ORVEX_FALLING), 0) << errorText();
    ASSERT_EQ(orvex_scanStart(10), 0);
    EXPECT_THAT(calls(),
                ::testing::Contains(R"(DAQmxCfgDigEdgeStartTrig(scan, "/PXI1Slot2/PFI4", 10171))"));
    orvex_scanStop();
}

TEST_F(ScanTest, InStepOutputsAreArmedOnTheScansStartAndClockBeforeItStarts) {
    orvex_scanChannels("ai0:1", 10.0, ORVEX_RSE);
    orvex_scanClock(500.0);
    // ao0, then ao1; they go out interleaved (the driver's record shows the first three).
    const double waves[] = {1, 2, 3, -1, -2, -3};
    ASSERT_EQ(orvex_scanOutput("ao0:1", waves, 3, 1, 0.0), 0) << errorText();
    ASSERT_EQ(orvex_scanStart(0), 0) << errorText();
    EXPECT_EQ(orvex_scanStop(), 0);
    EXPECT_THAT(
        calls(),
        ElementsAre(
            R"(DAQmxCreateTask("scan", &))",
            R"(DAQmxCreateAIVoltageChan(scan, "PXI1Slot2/ai0", "", 10083, -10, 10, 10348, ""))",
            R"(DAQmxCreateAIVoltageChan(scan, "PXI1Slot2/ai1", "", 10083, -10, 10, 10348, ""))",
            R"(DAQmxCfgSampClkTiming(scan, "OnboardClock", 500, 10280, 10123, 1000))",
            "DAQmxGetSampClkRate(scan, &)", "DAQmxGetAIConvRate(scan, &)",
            R"(DAQmxCreateTask("scanOutput", &))",
            R"(DAQmxCreateAOVoltageChan(scanOutput, "PXI1Slot2/ao0:1", "", -10, 10, 10348, ""))",
            R"(DAQmxCfgSampClkTiming(scanOutput, "/PXI1Slot2/ai/SampleClock", 500, 10280, 10123, 3))",
            R"(DAQmxCfgDigEdgeStartTrig(scanOutput, "/PXI1Slot2/ai/StartTrigger", 10280))",
            "DAQmxWriteAnalogF64(scanOutput, 3, 0, 10, 1, [1,-1,2], &, null)",
            // the first 3 values,
            "DAQmxStartTask(scanOutput)", "DAQmxStartTask(scan)", "DAQmxStopTask(scanOutput)",
            "DAQmxClearTask(scanOutput)", "DAQmxStopTask(scan)", "DAQmxClearTask(scan)"));
}

TEST_F(ScanTest, AnOutputOnItsOwnClockStillStartsWithTheScan) {
    orvex_scanChannels("ai0", 10.0, ORVEX_RSE);
    const double wave[] = {0.5, -0.5};
    ASSERT_EQ(orvex_scanOutput("ao1", wave, 2, 0, 250.0), 0) << errorText();
    ASSERT_EQ(orvex_scanStart(0), 0);
    EXPECT_THAT(calls(), ::testing::Contains(R"(DAQmxCfgSampClkTiming(scanOutput, "OnboardClock", )"
                                             R"(250, 10280, 10123, 2))"));
    EXPECT_THAT(calls(), ::testing::Contains(R"(DAQmxCreateAOVoltageChan(scanOutput, )"
                                             R"("PXI1Slot2/ao1", "", -10, 10, 10348, ""))"));
    orvex_scanStop();
    ASSERT_EQ(orvex_scanOutput(nullptr, nullptr, 0, 0, 0.0), 0);
    rd_reset();
    ASSERT_EQ(orvex_scanStart(0), 0);
    EXPECT_EQ(rd_entryPointCalls("DAQmxCreateAOVoltageChan"), 0);
    orvex_scanStop();
}

TEST_F(ScanTest, ReadsByChannelAreRegroupedFromTheDriversScansAcrossPieces) {
    orvex_scanChannels("ai4:6", 10.0, ORVEX_RSE);
    ASSERT_EQ(orvex_scanStart(0), 0);
    // Scan n holds 10n + k for channel k; the driver delivers two scans, then two more.
    const double first[] = {0, 1, 2, 10, 11, 12};
    const double second[] = {20, 21, 22, 30, 31, 32};
    rd_queueAnalogRead(first, 6, 2);
    rd_queueAnalogRead(second, 6, 2);
    std::vector<double> data(12);
    int read = 0;
    ASSERT_EQ(orvex_scanReadEx(data.data(), 4, ORVEX_BY_CHANNEL, &read, 1.0), 0) << errorText();
    EXPECT_EQ(read, 4);
    EXPECT_THAT(data, ElementsAreArray({0, 10, 20, 30, 1, 11, 21, 31, 2, 12, 22, 32}));
    orvex_scanStop();
}

TEST_F(ScanTest, AFailedStartLeavesNothingRunningAndReportsTheDriver) {
    orvex_scanChannels("ai0", 10.0, ORVEX_RSE);
    const double wave[] = {0.0};
    orvex_scanOutput("ao0", wave, 1, 1, 0.0);
    rd_scriptStatus("DAQmxStartTask", 2, -50103);
    rd_queueDescription("The resource is held.");
    EXPECT_EQ(orvex_scanStart(0), -50103);
    EXPECT_EQ(errorText(), "The resource is held.");
    EXPECT_EQ(rd_liveTaskCount(), 0);
    EXPECT_EQ(orvex_scanStop(), 1);
    rd_reset();
    EXPECT_EQ(orvex_scanStart(0), 0) << errorText();
    orvex_scanStop();
}

TEST_F(ScanTest, AFailedReadInAOneCallScanStillStopsAndReportsTheRead) {
    orvex_scanChannels("ai0:1", 10.0, ORVEX_RSE);
    const double part[] = {1, 2, 3, 4};
    rd_queueAnalogRead(part, 4, 2);
    rd_scriptStatus("DAQmxReadAnalogF64", 2, -200284);
    std::vector<double> data(2 * 10);
    int read = -1;
    EXPECT_EQ(orvex_scanAcquire(data.data(), 10, ORVEX_BY_SCAN, &read, 0.5), -200284);
    EXPECT_EQ(read, 2);
    EXPECT_EQ(rd_liveTaskCount(), 0);
    EXPECT_EQ(orvex_GetLastError(), -200284);
}

TEST_F(ScanTest, CloseReleasesARunningScanAndItsOutput) {
    orvex_scanChannels("ai0", 10.0, ORVEX_RSE);
    const double wave[] = {0.0};
    orvex_scanOutput("ao0", wave, 1, 1, 0.0);
    ASSERT_EQ(orvex_scanStart(0), 0);
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_EQ(rd_liveTaskCount(), 0);
    EXPECT_EQ(orvex_scanStop(), 1);
}

} // namespace
