// Physical channel names as the board takes them, checked through channel creation.
#include "board_fixture.h"

namespace {

struct DigitalName {
    const char *label;
    const char *name;
    int32 status; // 0: accepted
    uInt8 lines;  // the lines an accepted name gives
};

class DigitalNames : public SimBoardTest, public ::testing::WithParamInterface<DigitalName> {};

// An accepted name is checked by driving all eight bits and reading back which lines the
// task holds.
TEST_P(DigitalNames, GiveTheNamedLinesOrTheRightRefusal) {
    const DigitalName &c = GetParam();
    ScopedTask task;
    ASSERT_EQ(DAQmxCreateDOChan(task, c.name, "w", DAQmx_Val_ChanForAllLines), c.status) << c.name;
    if (c.status != 0) {
        EXPECT_FALSE(errorText(c.status).empty());
        return;
    }
    uInt8 value = 0;
    ASSERT_EQ(writeByte(task, 0xFF), 0);
    ASSERT_EQ(readByte(task, value), 0);
    EXPECT_EQ(value, c.lines) << c.name;
}

constexpr int32 deviceMissing = -209001, syntax = -209002, port = -209003, line = -209004,
                twice = -209005, empty = -209006, kind = -209007, oneChannel = -209016;

INSTANTIATE_TEST_SUITE_P(
    Names, DigitalNames,
    ::testing::Values(
        DigitalName{"WholePort", "PXI1Slot2/port1", 0, 0xFF},
        DigitalName{"TwoLines", "PXI1Slot2/port1/line0,PXI1Slot2/port1/line2", 0, 0x05},
        DigitalName{"TerminalStyleRange", "/PXI1Slot2/port0/line1:3", 0, 0x0E},
        DigitalName{"DescendingRange", "PXI1Slot2/port0/line3:1", 0, 0x0E},
        DigitalName{"AnyCase", "pxi1slot2/PORT2/Line7", 0, 0x80},
        DigitalName{"SpacedList", " PXI1Slot2/port1/line4 , PXI1Slot2/port1/line6", 0, 0x50},
        DigitalName{"Empty", "", empty, 0}, DigitalName{"Blank", "   ", empty, 0},
        DigitalName{"PortThree", "PXI1Slot2/port3", port, 0},
        DigitalName{"LineEight", "PXI1Slot2/port1/line8", line, 0},
        DigitalName{"LongNumber", "PXI1Slot2/port1/line99999", line, 0},
        DigitalName{"LineTwice", "PXI1Slot2/port1/line1,PXI1Slot2/port1/line1", twice, 0},
        DigitalName{"RangeOverlap", "PXI1Slot2/port1/line0:3,PXI1Slot2/port1/line2", twice, 0},
        DigitalName{"PortAndItsLine", "PXI1Slot2/port1,PXI1Slot2/port1/line0", twice, 0},
        DigitalName{"OtherSlot", "PXI1Slot4/port0", deviceMissing, 0},
        DigitalName{"OtherDevice", "Dev1/port0/line0", deviceMissing, 0},
        DigitalName{"TrailingComma", "PXI1Slot2/port1/line0,", syntax, 0},
        DigitalName{"LeadingComma", ",PXI1Slot2/port1/line0", syntax, 0},
        DigitalName{"LineWithoutNumber", "PXI1Slot2/port1/line", syntax, 0},
        DigitalName{"PortWithoutNumber", "PXI1Slot2/port", syntax, 0},
        DigitalName{"DoubleSlash", "PXI1Slot2//port1", syntax, 0},
        DigitalName{"TrailingText", "PXI1Slot2/port1/line0x", syntax, 0},
        DigitalName{"NegativeLine", "PXI1Slot2/port1/line-1", syntax, 0},
        DigitalName{"OpenRange", "PXI1Slot2/port1/line1:", syntax, 0},
        DigitalName{"DeviceOnly", "PXI1Slot2", syntax, 0},
        DigitalName{"TwoPorts", "PXI1Slot2/port0/line0,PXI1Slot2/port1/line0", kind, 0},
        DigitalName{"AnalogName", "PXI1Slot2/ai0", kind, 0},
        DigitalName{"DigitalAndAnalog", "PXI1Slot2/port0,PXI1Slot2/ai0", oneChannel, 0}),
    [](const ::testing::TestParamInfo<DigitalName> &info) {
        return std::string(info.param.label);
    });

TEST_F(SimBoardTest, AnalogNamesCoverTheBoardsChannelsOnly) {
    struct Case {
        const char *name;
        bool input;
        int32 status;
    };
    for (const Case &c :
         {Case{"PXI1Slot2/ai0", true, 0}, Case{"PXI1Slot2/ai15", true, 0},
          Case{"/PXI1Slot2/ai3", true, 0}, Case{"PXI1Slot2/ai16", true, syntax},
          Case{"PXI1Slot2/ao1", false, 0}, Case{"PXI1Slot2/ao2", false, syntax},
          Case{"PXI1Slot2/ao0", true, kind}, Case{"PXI1Slot2/ai0", false, kind},
          Case{"PXI1Slot2/port0", true, kind}, Case{"PXI1Slot2/ai0,PXI1Slot2/ai1", true, 0},
          Case{"/PXI1Slot2/ai3:0, PXI1Slot2/ai8", true, 0}, Case{"PXI1Slot2/ao0:1", false, 0},
          Case{"PXI1Slot2/ai0,PXI1Slot2/ao1", true, kind}, Case{"PXI1Slot2/ai0:16", true, syntax},
          Case{"PXI1Slot2/ai0,PXI1Slot2/port0", true, kind},
          Case{"PXI1Slot3/ai0", true, deviceMissing}}) {
        ScopedTask task;
        EXPECT_EQ(c.input ? addInput(task, c.name) : addOutput(task, c.name), c.status) << c.name;
    }
}

TEST_F(SimBoardTest, AMissingDeviceIsNamedInTheStatusText) {
    ScopedTask task;
    int32 status = addInput(task, "PXI1Slot4/ai0");
    ASSERT_EQ(status, deviceMissing);
    EXPECT_NE(errorText(status).find("PXI1Slot4"), std::string::npos) << errorText(status);
}

// A task is of one kind: more inputs may join an input task, nothing else may.
TEST_F(SimBoardTest, AChannelOfAnotherKindInOneTaskIsRefused) {
    ScopedTask task;
    ASSERT_EQ(addInput(task, "PXI1Slot2/ai0"), 0);
    EXPECT_EQ(addInput(task, "PXI1Slot2/ai1"), 0);
    EXPECT_EQ(addOutput(task, "PXI1Slot2/ao0"), oneChannel);
    EXPECT_EQ(DAQmxCreateDIChan(task, "PXI1Slot2/port0", "", DAQmx_Val_ChanForAllLines),
              oneChannel);
    ScopedTask digital;
    ASSERT_EQ(DAQmxCreateDIChan(digital, "PXI1Slot2/port0", "", DAQmx_Val_ChanForAllLines), 0);
    EXPECT_EQ(addInput(digital, "PXI1Slot2/ai1"), oneChannel);
}

} // namespace
