#include "app_harness.h"

#include "callbacks/digital_panel.h"
#include "support/panel_test_access.h"
#include "uiruntime/userint.h"
#include "window/panel_frame.h"
#include <orvex/simboard_control.h>

#include <gtest/gtest.h>

#include <bitset>

namespace zelbrin {
namespace {

using DigitalPanel = AppOnStand;

constexpr int someDriverFailure = -200279;

// Which of the sixteen line indicators are lit, as a bit per line.
unsigned litLines() {
    unsigned lit = 0;
    for (int i = 0; i < panelLines; ++i) {
        if (user::intValue(ledCtrl[i]) != 0) {
            lit |= 1u << i;
        }
    }
    return lit;
}

// S1 to S4 as bits 0 to 3.
unsigned litSwitches() {
    unsigned lit = 0;
    for (int i = 1; i <= switchIndicators; ++i) {
        if (user::intValue(swCtrl[i]) != 0) {
            lit |= 1u << (i - 1);
        }
    }
    return lit;
}

int lastWrite(const char *taskName) {
    const std::vector<int> writes = DriverJournal().digitalWrites(taskName);
    return writes.empty() ? -1 : writes.back();
}

TEST_F(DigitalPanel, InOutputModeALinePressDrivesThatLineAndASecondPressRestoresIt) {
    user::choose(PANEL_MODE, 1);
    user::click(btnCtrl[9]);
    EXPECT_EQ(portBits, 0x0200);
    EXPECT_EQ(lastWrite("port0W255"), 0x00);
    EXPECT_EQ(lastWrite("port1W255"), 0x02);
    user::tickRefresh();
    EXPECT_EQ(std::bitset<16>(litLines()), std::bitset<16>(0x0200));

    user::click(btnCtrl[9]);
    EXPECT_EQ(lastWrite("port1W255"), 0x00);
    user::tickRefresh();
    EXPECT_EQ(litLines(), 0u);
}

TEST_F(DigitalPanel, AllOnesInInputModeWaitsUntilOutputModeDrivesThem) {
    // The stand holds every line of ports 0 and 1 low except the switch lines 12 to 15,
    // which are pulled high while the switches are up.
    constexpr unsigned standLines = 0xF000;
    user::click(PANEL_ALL1);
    user::tickRefresh();
    EXPECT_EQ(std::bitset<16>(litLines()), std::bitset<16>(standLines));
    for (const std::string &task : liveTasks()) {
        EXPECT_FALSE(task.starts_with("port0W") || task.starts_with("port1W"))
            << task << ": ports 0 and 1 got output lines in input mode";
    }

    user::choose(PANEL_MODE, 1);
    EXPECT_EQ(lastWrite("port0W255"), 0xFF);
    EXPECT_EQ(lastWrite("port1W255"), 0xFF);
    user::tickRefresh();
    EXPECT_EQ(litLines(), 0xFFFFu);
    EXPECT_EQ(litSwitches(), 0u);

    user::click(PANEL_ALL0);
    EXPECT_EQ(lastWrite("port0W255"), 0x00);
    EXPECT_EQ(lastWrite("port1W255"), 0x00);
}

struct StandLines {
    const char *what;
    unsigned highInputs; // panel lines 0 to 11 the stand holds high
    unsigned pressed;    // switches S1 to S4 held down, bits 0 to 3
    unsigned lit;        // the line indicators expected on
};

void PrintTo(const StandLines &stand, std::ostream *out) {
    *out << stand.what;
}

class RefreshTick : public DigitalPanel, public ::testing::WithParamInterface<StandLines> {};

TEST_P(RefreshTick, LightsTheHighLinesAndTheSwitchesThatAreDown) {
    const StandLines &stand = GetParam();
    for (int line = 0; line < 12; ++line) {
        ASSERT_EQ(simboard_setInputLine(line / 8, line % 8, (stand.highInputs >> line) & 1), 0);
    }
    for (int s = 1; s <= switchIndicators; ++s) {
        ASSERT_EQ(simboard_pressSwitch(s, (stand.pressed >> (s - 1)) & 1), 0);
    }
    user::tickRefresh();
    EXPECT_EQ(std::bitset<16>(litLines()), std::bitset<16>(stand.lit)) << stand.what;
    EXPECT_EQ(std::bitset<4>(litSwitches()), std::bitset<4>(stand.pressed)) << stand.what;
    EXPECT_EQ(portBits, stand.lit);
}

INSTANTIATE_TEST_SUITE_P(
    Stands, RefreshTick,
    ::testing::Values(StandLines{"all low, switches up", 0x000, 0x0, 0xF000},
                      StandLines{"every input high, every switch down", 0xFFF, 0xF, 0x0FFF},
                      StandLines{"lines 0, 5 and 11; S2 and S4 down", 0x821, 0xA, 0x5821}));

TEST_F(DigitalPanel, IntervalFieldsSetTheirTimers) {
    user::enter(PANEL_GUI_INTERVAL, 0.25);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panelHandle, PANEL_GUI_TIMER), 0.25);
    user::enter(PANEL_AI_INTERVAL, 0.5);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panelHandle, PANEL_AI_TIMER), 0.5);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panelHandle, PANEL_GUI_TIMER), 0.25);
}

TEST_F(DigitalPanel, ACommitFromAnotherControlFlipsNoLineButStillWritesWhatWasRead) {
    user::choose(PANEL_MODE, 1);
    user::click(btnCtrl[3]);
    ADbuttonCB(panelHandle, PANEL_ALL0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(AD_btn2index(PANEL_ALL0), -1);
    EXPECT_EQ(portBits, 0x0008);
    const std::vector<int> writes = DriverJournal().digitalWrites("port0W255");
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes.back(), 0x08);
    EXPECT_EQ(writes[writes.size() - 2], 0x08);
}

// After a failed read of one port a line press must not drive that port's other lines
// from a value nobody read.
struct FailedRead {
    const char *what;
    int failingCall; // port 1 is read first, then port 0
    int port0Written;
    int port1Written;
};

void PrintTo(const FailedRead &read, std::ostream *out) {
    *out << read.what;
}

class FailedPortRead : public DigitalPanel, public ::testing::WithParamInterface<FailedRead> {};

TEST_P(FailedPortRead, KeepsThatPortsLastKnownLines) {
    const FailedRead &read = GetParam();
    user::choose(PANEL_MODE, 1);
    user::click(btnCtrl[2]); // port 0 = 0x04
    user::click(btnCtrl[9]); // port 1 = 0x02
    ASSERT_EQ(portBits, 0x0204);

    failNthCall("DAQmxReadDigitalU8", read.failingCall, someDriverFailure);
    CapturedErrors errors;
    user::click(btnCtrl[read.failingCall == 1 ? 8 : 0]);
    EXPECT_EQ(errors.errorLines().size(), 1u) << errors.text();
    EXPECT_EQ(lastWrite("port0W255"), read.port0Written) << read.what;
    EXPECT_EQ(lastWrite("port1W255"), read.port1Written) << read.what;
}

INSTANTIATE_TEST_SUITE_P(
    Reads, FailedPortRead,
    ::testing::Values(FailedRead{"port 1 read fails, AD8 pressed", 1, 0x04, 0x03},
                      FailedRead{"port 0 read fails, AD0 pressed", 2, 0x05, 0x02}));

} // namespace
} // namespace zelbrin
