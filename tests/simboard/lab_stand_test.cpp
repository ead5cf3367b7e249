// The lab stand as a program sees it through the board: output read-back, switches,
// input lines, the joystick and its power line, the output-to-input wiring.
#include "board_fixture.h"

#include <cmath>

namespace {

TEST_F(SimBoardTest, OutputTasksReadBackTheLevelsTheyDriveOnTheirOwnLines) {
    ScopedTask outputs;
    ScopedTask inputs;
    ASSERT_EQ(DAQmxCreateDOChan(outputs, "PXI1Slot2/port0/line0:3", "w", 1), 0);
    ASSERT_EQ(DAQmxCreateDIChan(inputs, "PXI1Slot2/port0/line4:7", "r", 1), 0);
    ASSERT_EQ(simboard_setInputLine(0, 6, 1), 0);
    ASSERT_EQ(simboard_setInputLine(0, 1, 1), 0); // under an output line: the drive wins

    ASSERT_EQ(writeByte(outputs, 0xF5), 0);
    uInt8 driven = 0;
    uInt8 sensed = 0;
    ASSERT_EQ(readByte(outputs, driven), 0);
    ASSERT_EQ(readByte(inputs, sensed), 0);
    EXPECT_EQ(driven, 0x05);
    EXPECT_EQ(sensed, 0x40);

    ScopedTask wholePort;
    ASSERT_EQ(DAQmxCreateDIChan(wholePort, "PXI1Slot2/port0", "r", 1), 0);
    ASSERT_EQ(readByte(wholePort, sensed), 0);
    EXPECT_EQ(sensed, 0x42) << "starting an input task turns its lines into inputs";
}

TEST_F(SimBoardTest, ALineKeepsItsLevelAfterItsOutputTaskStops) {
    ScopedTask first;
    ScopedTask second;
    ASSERT_EQ(DAQmxCreateDOChan(first, "PXI1Slot2/port2/line0:3", "w", 1), 0);
    ASSERT_EQ(DAQmxCreateDOChan(second, "PXI1Slot2/port2/line2:5", "w", 1), 0);
    ASSERT_EQ(writeByte(first, 0x0F), 0);
    ASSERT_EQ(writeByte(second, 0x00), 0);
    uInt8 value = 0;
    ASSERT_EQ(readByte(first, value), 0);
    EXPECT_EQ(value, 0x03) << "lines 2 and 3 now follow the later write";
}

TEST_F(SimBoardTest, SwitchesAreLowWhilePressedAndCycleByDefault) {
    ScopedTask switches;
    ASSERT_EQ(DAQmxCreateDIChan(switches, "PXI1Slot2/port1/line4:7", "r", 1), 0);
    uInt8 value = 0;
    // The cycle presses each switch in turn; over one cycle each shows up low once.
    uInt8 seenLow = 0;
    double start = simboard_time();
    for (int step = 0; step < 16; ++step) {
        ASSERT_EQ(simboard_advanceTime(start + step * 0.5 - simboard_time()), 0);
        ASSERT_EQ(readByte(switches, value), 0);
        EXPECT_GE(__builtin_popcount(value), 3) << "one switch at a time";
        seenLow |= static_cast<uInt8>(~value & 0xF0);
    }
    EXPECT_EQ(seenLow, 0xF0);

    for (int number = 1; number <= 4; ++number) {
        ASSERT_EQ(simboard_pressSwitch(number, 0), 0);
    }
    ASSERT_EQ(simboard_pressSwitch(3, 1), 0);
    ASSERT_EQ(readByte(switches, value), 0);
    EXPECT_EQ(value, 0xB0);
    EXPECT_EQ(simboard_pressSwitch(5, 1), -209023);
}

class JoystickTest : public SimBoardTest {
  protected:
    void SetUp() override {
        SimBoardTest::SetUp();
        ASSERT_EQ(DAQmxCreateDOChan(power_, "PXI1Slot2/port2/line0", "w", 1), 0);
        ASSERT_EQ(addInput(x_, "PXI1Slot2/ai2"), 0);
        ASSERT_EQ(addInput(y_, "PXI1Slot2/ai3"), 0);
    }
    void read(double &x, double &y) {
        ASSERT_EQ(readOne(x_, x), 0);
        ASSERT_EQ(readOne(y_, y), 0);
    }
    ScopedTask power_;
    ScopedTask x_;
    ScopedTask y_;
};

TEST_F(JoystickTest, ReadsNearZeroUnpoweredAndFollowsItsPathWhenPowered) {
    double x = 0.0;
    double y = 0.0;
    read(x, y);
    EXPECT_NEAR(x, 0.0, 0.01);
    EXPECT_NEAR(y, 0.0, 0.01);

    ASSERT_EQ(writeByte(power_, 1), 0);
    double xLow = 10.0, xHigh = -10.0, yLow = 10.0, yHigh = -10.0;
    for (int step = 0; step < 200; ++step) {
        ASSERT_EQ(simboard_advanceTime(0.05), 0);
        read(x, y);
        xLow = std::min(xLow, x), xHigh = std::max(xHigh, x);
        yLow = std::min(yLow, y), yHigh = std::max(yHigh, y);
    }
    for (double low : {xLow, yLow}) {
        EXPECT_GT(low, 0.1);
        EXPECT_LT(low, 0.8);
    }
    for (double high : {xHigh, yHigh}) {
        EXPECT_GT(high, 4.2);
        EXPECT_LT(high, 4.9);
    }

    ASSERT_EQ(writeByte(power_, 0), 0);
    read(x, y);
    EXPECT_NEAR(x, 0.0, 0.01);
}

TEST_F(JoystickTest, HeldStickGivesItsVoltagesWithAFewMillivoltsOfNoise) {
    ASSERT_EQ(writeByte(power_, 1), 0);
    ASSERT_EQ(simboard_holdJoystick(1.25, 3.75), 0);
    double x = 0.0;
    double y = 0.0;
    double xPrevious = 0.0;
    bool varies = false;
    for (int step = 0; step < 20; ++step) {
        ASSERT_EQ(simboard_advanceTime(0.01), 0);
        read(x, y);
        EXPECT_NEAR(x, 1.25, 0.005);
        EXPECT_NEAR(y, 3.75, 0.005);
        varies = varies || (step > 0 && x != xPrevious);
        xPrevious = x;
    }
    EXPECT_TRUE(varies);
}

TEST_F(SimBoardTest, AnalogOutputsAreWiredToTheFirstTwoInputsAndRefuseOutOfRangeValues) {
    ScopedTask ao1;
    ScopedTask ai1;
    ASSERT_EQ(addOutput(ao1, "PXI1Slot2/ao1"), 0);
    ASSERT_EQ(addInput(ai1, "PXI1Slot2/ai1"), 0);
    ASSERT_EQ(writeOne(ao1, -3.3), 0);
    EXPECT_EQ(writeOne(ao1, 10.5), -209008);
    EXPECT_EQ(writeOne(ao1, std::nan("")), -209008);
    double value = 0.0;
    ASSERT_EQ(readOne(ai1, value), 0);
    EXPECT_DOUBLE_EQ(value, -3.3);
}

TEST_F(SimBoardTest, InputsSaturateAtTheRangeTheChannelLimitsSelect) {
    ScopedTask wide;
    ScopedTask narrow;
    ASSERT_EQ(addInput(wide, "PXI1Slot2/ai5"), 0);
    ASSERT_EQ(addInput(narrow, "PXI1Slot2/ai6", -0.8, 0.8), 0);
    ASSERT_EQ(simboard_setAnalogInput(5, 12.0), 0);
    ASSERT_EQ(simboard_setAnalogInput(6, -3.0), 0);
    double value = 0.0;
    ASSERT_EQ(readOne(wide, value), 0);
    EXPECT_DOUBLE_EQ(value, 10.0);
    ASSERT_EQ(readOne(narrow, value), 0);
    EXPECT_DOUBLE_EQ(value, -1.0);
    EXPECT_EQ(addInput(wide, "PXI1Slot2/ai7", -12.0, 12.0), -209008);
    ScopedTask tooWide;
    EXPECT_EQ(addInput(tooWide, "PXI1Slot2/ai7", -12.0, 12.0), -209008);
}

} // namespace
