// Behaviour of the public interface that holds on any driver: the same tests run once
// against each driver the build has (ORVEX_DRIVER names it).  Each test leaves the
// board closed and nothing fetched or generating.
#include <orvex.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class AnyDriverTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(orvex_ni6251Slot(2), 0); }
    void TearDown() override {
        for (int idx = 0; idx < ANALOG_SIZEi; ++idx) {
            orvex_analogInStop(idx);
        }
        for (int idx = 0; idx < ANALOG_SIZEo; ++idx) {
            orvex_analogOutStop(idx);
        }
        EXPECT_EQ(orvex_ni6251Close(), 0);
    }
};

TEST_F(AnyDriverTest, SetLastErrorSwapsTheCode) {
    orvex_SetLastError(5);
    EXPECT_EQ(orvex_SetLastError(7), 5);
    EXPECT_EQ(orvex_GetLastError(), 7);
}

TEST_F(AnyDriverTest, TellsItsVersionAndItsDriverWithoutTouchingTheErrorCode) {
    orvex_SetLastError(-5);
    EXPECT_STREQ(orvex_version(), ORVEX_VERSION_STRING);
    EXPECT_STREQ(orvex_driverLibrary(), std::getenv("ORVEX_DRIVER"));
    EXPECT_EQ(orvex_GetLastError(), -5);
    EXPECT_EQ(orvex_driverLoad(), 0);
    EXPECT_EQ(orvex_GetLastError(), 0);
}

TEST_F(AnyDriverTest, BadArgumentsAreRefusedWithACheckMessage) {
    unsigned char state = 0;
    double value = 0;
    double block[2] = {};
    const std::string tooLong(300, 'a');
    for (int status :
         {orvex_portMask(PORT_SIZE, 0), orvex_portOut(-1, 0), orvex_portIn(0, nullptr),
          orvex_portIn(PORT_SIZE, &state), orvex_analogOut(ANALOG_SIZEo, 0.0),
          orvex_analogIn(ANALOG_SIZEi, &value), orvex_analogIn(0, nullptr),
          orvex_analogRead(0, block, 0, nullptr), orvex_analogFetchEx(0, nullptr, 2, nullptr, 1.0),
          orvex_analogInStop(0), orvex_analogWrite(0, block, -1), orvex_analogOutStop(1),
          orvex_analogInClk(tooLong.c_str(), 1.0), orvex_analogOutTrigger(tooLong.c_str(), 1.0)}) {
        EXPECT_EQ(status, -1);
    }
    EXPECT_EQ(orvex_GetLastError(), -1);
    EXPECT_EQ(std::strncmp(orvex_GetLastErrorBuffer(), "ASSERT ERORR: orvex, line ", 26), 0);
}

TEST_F(AnyDriverTest, CallsWithNothingToDoReturnOne) {
    unsigned char state = 0xEE;
    EXPECT_EQ(orvex_portIn(1, &state), 1);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(orvex_portOut(1, 0x12), 1);
    EXPECT_EQ(orvex_portMask(1, 0), 0);
    EXPECT_EQ(orvex_portMask(1, 0), 1);
    EXPECT_EQ(orvex_portOut(1, 0x12), 1);
}

TEST_F(AnyDriverTest, OutputLinesReadBackWhatWasWritten) {
    for (int port = 0; port < PORT_SIZE; ++port) {
        ASSERT_GE(orvex_portMask(port, 255), 0) << orvex_GetLastErrorBuffer();
        ASSERT_GE(orvex_portOut(port, static_cast<unsigned char>(0xA5 ^ port)), 0);
        unsigned char state = 0;
        ASSERT_GE(orvex_portIn(port, &state), 0);
        EXPECT_EQ(state, 0xA5 ^ port) << "port " << port;
    }
}

TEST_F(AnyDriverTest, SwitchingMasksKeepsTheOutputLinesValue) {
    ASSERT_GE(orvex_portMask(2, 0x0F), 0) << orvex_GetLastErrorBuffer();
    ASSERT_GE(orvex_portOut(2, 0x09), 0);
    for (unsigned char mask : {0x00, 0xF0, 0x03, 0x0F}) {
        ASSERT_GE(orvex_portMask(2, mask), 0) << orvex_GetLastErrorBuffer();
    }
    unsigned char state = 0;
    ASSERT_GE(orvex_portIn(2, &state), 0);
    EXPECT_EQ(state & 0x0F, 0x09);
}

TEST_F(AnyDriverTest, CloseEmptiesThePortsAndTheValueComesBack) {
    ASSERT_GE(orvex_portMask(0, 255), 0) << orvex_GetLastErrorBuffer();
    ASSERT_GE(orvex_portOut(0, 0x3C), 0);
    ASSERT_EQ(orvex_ni6251Close(), 0);
    unsigned char state = 0xEE;
    EXPECT_EQ(orvex_portIn(0, &state), 1);
    EXPECT_EQ(state, 0);
    ASSERT_GE(orvex_portMask(0, 255), 0);
    ASSERT_GE(orvex_portIn(0, &state), 0);
    EXPECT_EQ(state, 0x3C);
}

TEST_F(AnyDriverTest, SinglePointAnalogWorksOnEveryChannel) {
    for (int idx = 0; idx < ANALOG_SIZEo; ++idx) {
        EXPECT_GE(orvex_analogOut(idx, 1.25), 0) << orvex_GetLastErrorBuffer();
    }
    for (int idx = 0; idx < ANALOG_SIZEi; ++idx) {
        double volts = 99.0;
        EXPECT_GE(orvex_analogIn(idx, &volts), 0) << orvex_GetLastErrorBuffer();
        EXPECT_LE(volts, 10.5);
        EXPECT_GE(volts, -10.5);
    }
}

TEST_F(AnyDriverTest, ClockedReadFillsTheBlock) {
    std::vector<double> block(20, 99.0);
    int count = 0;
    ASSERT_GE(orvex_analogRead(2, block.data(), 20, &count), 0) << orvex_GetLastErrorBuffer();
    EXPECT_EQ(count, 20);
    for (double volts : block) {
        EXPECT_LE(volts, 10.5);
    }
}

TEST_F(AnyDriverTest, FetchRunsUntilStopped) {
    double block[10];
    EXPECT_EQ(orvex_analogFetchStatus(), 0);
    ASSERT_GE(orvex_analogFetchEx(3, block, 10, nullptr, 2.0), 0) << orvex_GetLastErrorBuffer();
    EXPECT_EQ(orvex_analogFetchStatus(), 1);
    EXPECT_EQ(orvex_analogFetchEx(4, block, 10, nullptr, 2.0), -1);
    ASSERT_GE(orvex_analogFetchEx(3, block, 10, nullptr, 2.0), 0) << orvex_GetLastErrorBuffer();
    EXPECT_GE(orvex_analogInStop(3), 0) << orvex_GetLastErrorBuffer();
    EXPECT_EQ(orvex_analogFetchStatus(), 0);
}

// One generation at a time: a board has one output timing engine.
TEST_F(AnyDriverTest, GenerationRunsUntilStoppedOrReplaced) {
    const double wave[4] = {0.0, 1.0, 0.0, -1.0};
    for (int idx = 0; idx < ANALOG_SIZEo; ++idx) {
        ASSERT_GE(orvex_analogWrite(idx, wave, 4), 0) << orvex_GetLastErrorBuffer();
        ASSERT_GE(orvex_analogWrite(idx, wave, 4), 0) << orvex_GetLastErrorBuffer();
        EXPECT_EQ(orvex_analogOutStop(1 - idx), -1);
        EXPECT_GE(orvex_analogOutStop(idx), 0) << orvex_GetLastErrorBuffer();
        EXPECT_EQ(orvex_analogOutStop(idx), -1);
    }
}

} // namespace
