// The board's state at a glance: the board indicator, and indicators and displays that
// show "unknown" when their last read failed, on the simulated board with a fault
// injected after start.
#include "app_harness.h"

#include "support/panel_test_access.h"
#include "uiruntime/userint.h"
#include "widgets/led_indicator.h"
#include "widgets/xygraph.h"
#include "window/panel_frame.h"
#include <orvex/simboard_control.h>

#include <QDoubleSpinBox>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using BoardState = AppOnStand;

constexpr int someDriverFailure = -200279;

bool ledUnknown(int control) {
    const auto *led =
        qobject_cast<panel::LedIndicator *>(panel_test::controlWidget(panelHandle, control));
    return led && led->isUnknown();
}

std::string displayText(int control) {
    const auto *display =
        qobject_cast<QDoubleSpinBox *>(panel_test::controlWidget(panelHandle, control));
    return display ? display->text().toStdString() : std::string();
}

TEST_F(BoardState, AFailedVoltageReadShowsUnknownAndTheBoardAsNotAnsweringUntilItAnswers) {
    user::tickSampling();
    EXPECT_THAT(user::text(PANEL_BOARD), HasSubstr("Board answering"));

    ASSERT_EQ(simboard_holdJoystick(1.0, 4.0), 0);
    failNthCall("DAQmxReadAnalogF64", 2, someDriverFailure); // the ai3 read
    CapturedErrors errors;
    user::tickSampling();
    EXPECT_EQ(errors.errorLines().size(), 1u) << "standard error still gets the line";
    EXPECT_EQ(displayText(PANEL_AI3), "unknown");
    EXPECT_TRUE(std::isnan(user::doubleValue(PANEL_AI3)));
    EXPECT_NEAR(user::doubleValue(PANEL_AI2), 1.0, 1e-3);
    EXPECT_THAT(user::text(PANEL_BOARD),
                StartsWith("\u25CF Board not answering: " + std::to_string(someDriverFailure)));
    EXPECT_THAT(user::text(PANEL_BOARD), ::testing::Not(HasSubstr("\n")))
        << "only the first line of the driver's text";
    EXPECT_TRUE(user::plotted().empty()) << "no point is made up for the missing voltage";

    user::tickSampling();
    EXPECT_NEAR(user::doubleValue(PANEL_AI3), 4.0, 1e-3);
    EXPECT_THAT(user::text(PANEL_BOARD), HasSubstr("Board answering"));
}

TEST_F(BoardState, AFailedPortReadShowsThatPortsLinesAndSwitchesUnknown) {
    user::tickRefresh();
    failNthCall("DAQmxReadDigitalU8", 1, someDriverFailure); // port 1, read first
    user::tickRefresh();
    for (int line = 0; line < panelLines; ++line) {
        EXPECT_EQ(ledUnknown(ledCtrl[line]), line >= 8) << "line " << line;
    }
    for (int s = 1; s <= switchIndicators; ++s) {
        EXPECT_TRUE(ledUnknown(swCtrl[s])) << "S" << s;
    }
    user::tickRefresh();
    EXPECT_FALSE(ledUnknown(ledCtrl[12]));
    EXPECT_EQ(user::intValue(swCtrl[1]), 0) << "the stand's switches are up";
}

} // namespace
} // namespace zelbrin
