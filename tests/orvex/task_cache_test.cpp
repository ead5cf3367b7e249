// Board selection, task creation and names, and the release order of close.
#include "recorded_driver_fixture.h"
#include "support/memory_runs_out.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

using TaskCacheTest = RecordedDriverTest;

TEST_F(TaskCacheTest, PortConfigurationsAreNamedByPortAndMask) {
    orvex_portMask(0, 0);
    orvex_portMask(2, 255);
    orvex_portMask(1, 5);
    EXPECT_THAT(calls(),
                ElementsAre(R"(DAQmxCreateTask("port0R0", &))",
                            R"(DAQmxCreateDIChan(port0R0, "PXI1Slot2/port0", "r", 1))",
                            "DAQmxStartTask(port0R0)", //
                            R"(DAQmxCreateTask("port2W255", &))",
                            R"(DAQmxCreateDOChan(port2W255, "PXI1Slot2/port2", "w", 1))",
                            R"(DAQmxCreateTask("port1W5", &))",
                            R"(DAQmxCreateDOChan(port1W5, "PXI1Slot2/port1/line0,)"
                            R"(PXI1Slot2/port1/line2", "w", 1))",
                            R"(DAQmxCreateTask("port1R5", &))",
                            R"(DAQmxCreateDIChan(port1R5, "PXI1Slot2/port1/line1,)"
                            R"(PXI1Slot2/port1/line3,PXI1Slot2/port1/line4,PXI1Slot2/port1/line5,)"
                            R"(PXI1Slot2/port1/line6,PXI1Slot2/port1/line7", "r", 1))",
                            "DAQmxStartTask(port1R5)"));
}

TEST_F(TaskCacheTest, AnalogTasksAreNamedByChannel) {
    double volts = 0;
    orvex_analogIn(3, &volts);
    orvex_analogOut(1, 0.5);
    EXPECT_THAT(calls(),
                ElementsAre(R"(DAQmxCreateTask("analog3I", &))",
                            R"(DAQmxCreateAIVoltageChan(analog3I, "PXI1Slot2/ai3", "", )"
                            R"(10083, -10, 10, 10348, ""))",
                            "DAQmxReadAnalogF64(analog3I, 1, 1, 0, 1, null, null)",
                            R"(DAQmxCreateTask("analog1o", &))",
                            R"(DAQmxCreateAOVoltageChan(analog1o, "PXI1Slot2/ao1", "", )"
                            R"(-10, 10, 10348, ""))",
                            "DAQmxWriteAnalogF64(analog1o, 1, 1, 1, 0, [0.5], null, null)"));
}

TEST_F(TaskCacheTest, SlotAppliesToTasksCreatedLaterOnly) {
    double volts = 0;
    orvex_analogIn(0, &volts);
    orvex_SetLastError(-5);
    EXPECT_EQ(orvex_ni6251Slot(4), 0);
    EXPECT_EQ(orvex_GetLastError(), 0);
    orvex_analogIn(0, &volts);
    orvex_analogIn(1, &volts);
    orvex_portMask(0, 6);
    const auto recorded = calls();
    EXPECT_EQ(recorded[4], R"(DAQmxCreateTask("analog1I", &))");
    EXPECT_EQ(recorded[5], R"(DAQmxCreateAIVoltageChan(analog1I, "PXI1Slot4/ai1", "", 10083, -10, )"
                           R"(10, 10348, ""))");
    EXPECT_EQ(recorded[8], R"(DAQmxCreateDOChan(port0W6, "PXI1Slot4/port0/line1,)"
                           R"(PXI1Slot4/port0/line2", "w", 1))");
    EXPECT_EQ(recorded[3], "DAQmxReadAnalogF64(analog0I, 1, 1, 0, 1, null, null)");
}

TEST_F(TaskCacheTest, CloseWithNothingCreatedMakesNoDriverCall) {
    orvex_SetLastError(-7);
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_EQ(orvex_GetLastError(), 0);
    EXPECT_THAT(calls(), IsEmpty());
}

void createOneOfEachKind() {
    double volts = 0;
    orvex_analogOut(1, 0.0);
    orvex_analogOut(0, 0.0);
    orvex_analogIn(5, &volts);
    orvex_analogIn(2, &volts);
    orvex_portMask(2, 3);
    orvex_portMask(2, 0);
}

TEST_F(TaskCacheTest, CloseReleasesInFixedOrderAndASecondCloseMakesNoCall) {
    createOneOfEachKind();
    rd_reset();
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_THAT(calls(), ElementsAre("DAQmxClearTask(analog0o)", "DAQmxClearTask(analog1o)",
                                     "DAQmxClearTask(analog2I)", "DAQmxClearTask(analog5I)",
                                     "DAQmxStopTask(port2R0)", "DAQmxClearTask(port2R0)",
                                     "DAQmxStopTask(port2W3)", "DAQmxClearTask(port2W3)",
                                     "DAQmxStopTask(port2R3)", "DAQmxClearTask(port2R3)"));
    rd_reset();
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(TaskCacheTest, CloseTriesEveryTaskReturnsTheFirstFailureAndKeepsWhatWouldNotGo) {
    createOneOfEachKind();
    rd_reset();
    rd_scriptStatus("DAQmxClearTask", 3, -200088); // analog2I
    rd_scriptStatus("DAQmxStopTask", 2, -200010);  // port2W3
    EXPECT_EQ(orvex_ni6251Close(), -200088);
    EXPECT_EQ(errorText(), "recording driver: status -200088");
    EXPECT_EQ(calls().size(), 10u); // every task tried (no clear after a failed stop), one text
    EXPECT_EQ(rd_liveTaskCount(), 2);
    EXPECT_THAT(masksOf(2), ElementsAre(-1, -1, -1, -1));

    // The next close releases exactly what was left, and only then reports success.
    rd_reset();
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_THAT(calls(), ElementsAre("DAQmxClearTask(analog2I)", "DAQmxStopTask(port2W3)",
                                     "DAQmxClearTask(port2W3)"));
    EXPECT_EQ(rd_liveTaskCount(), 0);
    rd_reset();
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_THAT(calls(), IsEmpty());
}

// The port tasks come last and alone here: a close that only they fail must not report
// success, or a program would believe the board released.
TEST_F(TaskCacheTest, CloseReportsAPortTaskThatWillNotGoWhenEverythingElseWent) {
    createOneOfEachKind();
    rd_reset();
    rd_scriptStatus("DAQmxClearTask", 6, -200088); // port2W3
    EXPECT_EQ(orvex_ni6251Close(), -200088);
    EXPECT_EQ(orvex_GetLastError(), -200088);
    EXPECT_EQ(rd_liveTaskCount(), 1);
    rd_reset();
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_EQ(rd_liveTaskCount(), 0);
}

TEST_F(TaskCacheTest, EvictedConfigurationThatWillNotGoIsReleasedBeforeItsNameIsNeededAgain) {
    for (int mask : {255, 1, 2, 3}) {
        orvex_portMask(0, static_cast<unsigned char>(mask));
    }
    rd_scriptStatus("DAQmxClearTask", 1, -200010);
    EXPECT_EQ(orvex_portMask(0, 4), -200010); // port0W255 would not go
    EXPECT_THAT(masksOf(0), ElementsAre(3, 2, 1, -1));
    EXPECT_EQ(orvex_portMask(0, 4), 0);
    EXPECT_EQ(orvex_portMask(0, 255), 0); // its name is free again
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_EQ(rd_liveTaskCount(), 0);
}

TEST_F(TaskCacheTest, FailedCreationReleasesWhatItCreatedAndIsRetried) {
    orvex_portMask(1, 0);
    rd_reset();
    rd_scriptStatus("DAQmxCreateTask", 2, -200220);
    EXPECT_EQ(orvex_portMask(1, 5), -200220);
    EXPECT_THAT(calls(),
                ElementsAre("DAQmxStopTask(port1R0)", R"(DAQmxCreateTask("port1W5", &))",
                            R"(DAQmxCreateDOChan(port1W5, "PXI1Slot2/port1/line0,)"
                            R"(PXI1Slot2/port1/line2", "w", 1))",
                            R"(DAQmxCreateTask("port1R5", &))", "DAQmxStopTask(port1W5)",
                            "DAQmxClearTask(port1W5)", "DAQmxGetErrorString(-200220, 1024)"));
    EXPECT_THAT(masksOf(1), ElementsAre(0, -1, -1, -1));
    EXPECT_EQ(rd_liveTaskCount(), 1);

    rd_reset();
    EXPECT_EQ(orvex_portOut(1, 0xA5), 1); // no output lines yet: remembered
    EXPECT_EQ(orvex_portMask(1, 5), 0);
    EXPECT_THAT(masksOf(1), ElementsAre(5, 0, -1, -1));
    EXPECT_EQ(calls().back(), "DAQmxWriteDigitalU8(port1W5, 1, 1, 10, 0, [165], null, null)");
}

TEST_F(TaskCacheTest, AnalogTaskWithoutItsChannelIsReleasedAndCreatedAgain) {
    rd_scriptStatus("DAQmxCreateAOVoltageChan", 1, -200170);
    EXPECT_EQ(orvex_analogOut(0, 1.0), -200170);
    EXPECT_EQ(orvex::cache.ao[0], nullptr);
    EXPECT_EQ(rd_liveTaskCount(), 0);
    EXPECT_EQ(orvex_analogOut(0, 1.0), 0);
    EXPECT_EQ(calls()[4], R"(DAQmxCreateTask("analog0o", &))");
}

TEST_F(TaskCacheTest, FailedAnalogCreationIsRetriedByTheNextCall) {
    rd_scriptStatus("DAQmxCreateTask", 1, -200220);
    EXPECT_EQ(orvex_analogOut(0, 1.0), -200220);
    EXPECT_EQ(orvex::cache.ao[0], nullptr);
    EXPECT_EQ(orvex_analogOut(0, 1.0), 0);
    EXPECT_EQ(calls()[2], R"(DAQmxCreateTask("analog0o", &))");
}

TEST_F(TaskCacheTest, ReleasedChannelEndsItsFetchAndItsNextTaskGetsTheSettings) {
    double block[2];
    orvex_analogInClk("PFI1", 100.0);
    ASSERT_EQ(orvex_analogFetchEx(3, block, 2, nullptr, 1.0), 0);
    ASSERT_EQ(orvex_ni6251Close(), 0);
    EXPECT_EQ(orvex_analogFetchStatus(), 0);
    rd_reset();
    EXPECT_EQ(orvex_analogFetchEx(3, block, 2, nullptr, 1.0), 0);
    EXPECT_THAT(calls(), ::testing::Contains(
                             R"(DAQmxCfgSampClkTiming(analog3I, "PFI1", 100, 10280, 10123, 100))"));
    EXPECT_EQ(orvex_analogInStop(3), 0);
}

// Out of memory, the library creates no task rather than risk losing one it could not keep
// track of, and nothing leaves a C function as an exception.  A task created before keeps
// its room: when its release then fails, it is still held and freed by the next close.
TEST_F(TaskCacheTest, WithoutMemoryNoTaskIsCreatedAndNoneIsLost) {
    double volts = 0;
    orvex_analogIn(0, &volts);
    rd_reset();
    rd_setRecording(0); // the recording driver allocates its journal lines
    int created = 0;
    {
        const MemoryRunsOut failing(1, MemoryRunsOut::forGood);
        created = orvex_analogIn(1, &volts);
    }
    EXPECT_EQ(created, ORVEX_STATUS_NO_MEMORY);
    EXPECT_THAT(errorText(), HasSubstr("out of memory"));
    EXPECT_EQ(rd_entryPointCalls("DAQmxCreateTask"), 0);

    rd_scriptStatus("DAQmxClearTask", 1, -200088);
    int closed = 0;
    {
        const MemoryRunsOut failing(1, MemoryRunsOut::forGood);
        closed = orvex_ni6251Close();
    }
    EXPECT_EQ(closed, -200088);
    EXPECT_EQ(rd_liveTaskCount(), 1);
    EXPECT_EQ(orvex_ni6251Close(), 0);
    EXPECT_EQ(rd_liveTaskCount(), 0);
}

} // namespace
