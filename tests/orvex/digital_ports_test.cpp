// Direction configurations per port, remembered values, and the read merge.
#include "recorded_driver_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using DigitalPortsTest = RecordedDriverTest;

TEST_F(DigitalPortsTest, SameMaskTwiceMakesNoDriverCall) {
    EXPECT_EQ(orvex_portMask(0, 0x0F), 0);
    rd_reset();
    EXPECT_EQ(orvex_portMask(0, 0x0F), 1);
    EXPECT_EQ(orvex_GetLastError(), 1);
    EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(DigitalPortsTest, ReturningToAKnownMaskReusesItsTasks) {
    orvex_portMask(1, 0x0F);
    orvex_portOut(1, 0xA5);
    orvex_portMask(1, 0xF0);
    rd_reset();
    EXPECT_EQ(orvex_portMask(1, 0x0F), 0);
    EXPECT_THAT(calls(),
                ElementsAre("DAQmxStopTask(port1W240)", "DAQmxStopTask(port1R240)",
                            "DAQmxStartTask(port1R15)",
                            "DAQmxWriteDigitalU8(port1W15, 1, 1, 10, 0, [165], null, null)"));
    EXPECT_THAT(masksOf(1), ElementsAre(0x0F, 0xF0, -1, -1));
}

TEST_F(DigitalPortsTest, FifthMaskReleasesTheLeastRecentlyUsed) {
    for (int mask : {0, 1, 2, 3}) {
        orvex_portMask(2, static_cast<unsigned char>(mask));
    }
    rd_reset();
    EXPECT_EQ(orvex_portMask(2, 4), 0);
    EXPECT_THAT(calls(),
                ElementsAre("DAQmxStopTask(port2W3)", "DAQmxStopTask(port2R3)",
                            "DAQmxStopTask(port2R0)", "DAQmxClearTask(port2R0)",
                            R"(DAQmxCreateTask("port2W4", &))",
                            R"(DAQmxCreateDOChan(port2W4, "PXI1Slot2/port2/line2", "w", 1))",
                            R"(DAQmxCreateTask("port2R4", &))",
                            R"(DAQmxCreateDIChan(port2R4, "PXI1Slot2/port2/line0,)"
                            R"(PXI1Slot2/port2/line1,PXI1Slot2/port2/line3,PXI1Slot2/port2/line4,)"
                            R"(PXI1Slot2/port2/line5,PXI1Slot2/port2/line6,)"
                            R"(PXI1Slot2/port2/line7", "r", 1))",
                            "DAQmxStartTask(port2R4)"));
    EXPECT_THAT(masksOf(2), ElementsAre(4, 3, 2, 1));
    EXPECT_THAT(masksOf(0), ElementsAre(-1, -1, -1, -1));
}

TEST_F(DigitalPortsTest, ValueWrittenWithoutOutputLinesIsDrivenWhenThePortGainsThem) {
    EXPECT_EQ(orvex_portOut(0, 0x3C), 1);
    orvex_portMask(0, 0);
    EXPECT_EQ(orvex_portOut(0, 0x5A), 1);
    EXPECT_EQ(orvex::cache.portValue[0], 0x5A);
    rd_reset();
    EXPECT_EQ(orvex_portMask(0, 255), 0);
    EXPECT_THAT(calls(),
                ElementsAre("DAQmxStopTask(port0R0)", R"(DAQmxCreateTask("port0W255", &))",
                            R"(DAQmxCreateDOChan(port0W255, "PXI1Slot2/port0", "w", 1))",
                            "DAQmxWriteDigitalU8(port0W255, 1, 1, 10, 0, [90], null, null)"));
}

TEST_F(DigitalPortsTest, ReadMergesOutputReadBackAndInputsByTheMask) {
    orvex_portMask(1, 15);
    orvex_portOut(1, 5);
    rd_reset();
    rd_queueDigitalRead(0x40 | 0x0A); // inputs: line 6 high; lines 1 and 3 are outputs
    rd_queueDigitalRead(0x05 | 0xF0); // read-back: only lines 0 to 3 belong to the mask
    unsigned char state = 0;
    EXPECT_EQ(orvex_portIn(1, &state), 0);
    EXPECT_EQ(state, 69);
    EXPECT_THAT(calls(), ElementsAre("DAQmxReadDigitalU8(port1R15, 1, 10, 0, 1, null, null)",
                                     "DAQmxReadDigitalU8(port1W15, 1, 10, 0, 1, null, null)"));
}

TEST_F(DigitalPortsTest, PortWithoutConfigurationReadsZeroWithStatusOne) {
    unsigned char state = 0xEE;
    EXPECT_EQ(orvex_portIn(2, &state), 1);
    EXPECT_EQ(state, 0);
    EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(DigitalPortsTest, FailedReadStoresNothing) {
    orvex_portMask(0, 0);
    rd_reset();
    rd_scriptStatus("DAQmxReadDigitalU8", 1, -200279);
    unsigned char state = 0xEE;
    EXPECT_EQ(orvex_portIn(0, &state), -200279);
    EXPECT_EQ(state, 0xEE);
}

TEST_F(DigitalPortsTest, FailedWriteKeepsTheValue) {
    orvex_portMask(0, 255);
    rd_scriptStatus("DAQmxWriteDigitalU8", 1, -200088);
    EXPECT_EQ(orvex_portOut(0, 7), -200088);
    EXPECT_EQ(orvex::cache.portValue[0], 7);
}

TEST_F(DigitalPortsTest, FailedStopLeavesTheOldConfigurationActive) {
    orvex_portMask(0, 1);
    rd_reset();
    rd_scriptStatus("DAQmxStopTask", 2, -200088);
    EXPECT_EQ(orvex_portMask(0, 2), -200088);
    EXPECT_THAT(calls(), ElementsAre("DAQmxStopTask(port0W1)", "DAQmxStopTask(port0R1)",
                                     "DAQmxGetErrorString(-200088, 1024)"));
    EXPECT_THAT(masksOf(0), ElementsAre(1, -1, -1, -1));
}

TEST_F(DigitalPortsTest, FailedStartIsFinishedByTheNextRequestForTheMask) {
    orvex_portMask(0, 1);
    orvex_portOut(0, 1);
    rd_reset();
    rd_scriptStatus("DAQmxStartTask", 1, -200088);
    EXPECT_EQ(orvex_portMask(0, 2), -200088);
    EXPECT_THAT(masksOf(0), ElementsAre(2, 1, -1, -1));
    EXPECT_EQ(calls().size(), 8u); // two stops, four creations, the start, the text
    rd_reset();
    EXPECT_EQ(orvex_portMask(0, 2), 0);
    EXPECT_THAT(calls(), ElementsAre("DAQmxStartTask(port0R2)",
                                     "DAQmxWriteDigitalU8(port0W2, 1, 1, 10, 0, [1], null, null)"));
    rd_reset();
    EXPECT_EQ(orvex_portMask(0, 2), 1);
    EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(DigitalPortsTest, RememberedValueThatCouldNotBeDrivenIsDrivenByTheNextRequest) {
    orvex_portOut(2, 0x3C);
    rd_scriptStatus("DAQmxWriteDigitalU8", 1, -200088);
    EXPECT_EQ(orvex_portMask(2, 255), -200088);
    EXPECT_EQ(orvex_portMask(2, 255), 0);
    unsigned char state = 0;
    EXPECT_EQ(orvex_portIn(2, &state), 0);
    EXPECT_EQ(state, 0x3C);
}

TEST_F(DigitalPortsTest, ARetryAfterAFailedWriteDoesNotStartTheRunningInputAgain) {
    orvex_portOut(0, 0x05);
    rd_scriptStatus("DAQmxWriteDigitalU8", 1, -200088);
    EXPECT_EQ(orvex_portMask(0, 0x0F), -200088);
    rd_reset();
    EXPECT_EQ(orvex_portMask(0, 0x0F), 0);
    EXPECT_THAT(calls(),
                ElementsAre("DAQmxWriteDigitalU8(port0W15, 1, 1, 10, 0, [5], null, null)"));
    // Leaving the mask stops the input, so coming back starts it again.
    orvex_portMask(0, 0xF0);
    rd_reset();
    EXPECT_EQ(orvex_portMask(0, 0x0F), 0);
    EXPECT_EQ(rd_entryPointCalls("DAQmxStartTask"), 1);
}

TEST_F(DigitalPortsTest, WarningOfTheWriteIsReturned) {
    orvex_portMask(2, 255);
    rd_scriptStatus("DAQmxWriteDigitalU8", 1, 200015);
    EXPECT_EQ(orvex_portOut(2, 1), 200015);
    EXPECT_EQ(orvex_GetLastError(), 200015);
}

TEST_F(DigitalPortsTest, AfterCloseThePortsAreEmptyButTheValueSurvives) {
    orvex_portMask(1, 255);
    orvex_portOut(1, 0x81);
    orvex_ni6251Close();
    rd_reset();
    unsigned char state = 0xEE;
    EXPECT_EQ(orvex_portIn(1, &state), 1);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(orvex_portMask(1, 255), 0);
    EXPECT_THAT(calls(),
                ElementsAre(R"(DAQmxCreateTask("port1W255", &))",
                            R"(DAQmxCreateDOChan(port1W255, "PXI1Slot2/port1", "w", 1))",
                            "DAQmxWriteDigitalU8(port1W255, 1, 1, 10, 0, [129], null, null)"));
    EXPECT_EQ(orvex_portIn(1, &state), 0);
    EXPECT_EQ(state, 0x81);
}

} // namespace
