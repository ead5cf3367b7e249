#include "app_harness.h"

#include "callbacks/digital_panel.h"
#include "support/panel_test_access.h"
#include "uiruntime/userint.h"
#include "window/panel_frame.h"
#include "window/startup.h"
#include <orvex.h>
#include <orvex/simboard_control.h>

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QTimer>
#include <QWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using Lifecycle = AppOnStand;

TEST_F(Lifecycle, StartUpDrivesPort2ToOneZeroZeroAndLeavesPorts0And1Inputs) {
    const DriverJournal journal;
    const std::set<std::string> live = liveTasks();
    // Port 2: lines 0 to 2 outputs, 3 to 7 inputs; ports 0 and 1: inputs only.
    EXPECT_EQ(live, (std::set<std::string>{"port2W7", "port2R7", "port0R0", "port1R0"}));
    ASSERT_FALSE(journal.digitalWrites("port2W7").empty());
    EXPECT_EQ(journal.digitalWrites("port2W7").back(), 1);

    // Port 2 line 0 powers the joystick, so its voltages reach the displays.
    ASSERT_EQ(simboard_holdJoystick(1.5, 3.5), 0);
    user::tickSampling();
    EXPECT_NEAR(user::doubleValue(PANEL_AI2), 1.5, 1e-3);
    EXPECT_NEAR(user::doubleValue(PANEL_AI3), 3.5, 1e-3);

    // Ports 0 and 1 follow what the stand puts on them.
    ASSERT_EQ(simboard_setInputLine(0, 6, 1), 0);
    ASSERT_EQ(simboard_setInputLine(1, 1, 1), 0);
    user::tickRefresh();
    EXPECT_EQ(portBits, 0xF240);
}

TEST(LifecycleStart, BothTimersRunFromTheStartAtTheIntervalsTheirFieldsShow) {
    resetStand();
    prepareBoard();
    ASSERT_TRUE(openWindow(testArgv()));
    for (auto [timer, field] : {std::pair{PANEL_GUI_TIMER, PANEL_GUI_INTERVAL},
                                std::pair{PANEL_AI_TIMER, PANEL_AI_INTERVAL}}) {
        EXPECT_TRUE(panel_test::timerRunning(panelHandle, timer)) << timer;
        const double interval = panel_test::timerInterval(panelHandle, timer);
        EXPECT_GT(interval, 0.0);
        EXPECT_DOUBLE_EQ(user::doubleValue(field), interval) << field;
        // The field cannot take the timer to zero or below.
        auto *box = qobject_cast<QDoubleSpinBox *>(panel_test::controlWidget(panelHandle, field));
        ASSERT_NE(box, nullptr);
        EXPECT_GT(box->minimum(), 0.0);
    }
    closeDown();
}

TEST(LifecycleRun, ClosingTheWindowEndsWithStatusZeroAndReleasesEveryTask) {
    resetStand();
    ASSERT_NE(InitCVIRTEEx(nullptr, testArgv(), nullptr), 0);
    // Let both timers tick for a while, so analog tasks exist too, then close as the
    // window's close control does.
    QTimer::singleShot(300, [] { panel_test::panelWidget(panelHandle)->close(); });
    EXPECT_EQ(zelbrinMain(1, testArgv()), 0);

    const DriverJournal journal;
    EXPECT_THAT(journal.lines(), ::testing::Contains(HasSubstr("taskName=\"analog2I\"")));
    EXPECT_THAT(liveTasks(), ::testing::IsEmpty());
}

TEST(LifecycleStartDeathTest, WhenTheRuntimeCannotStartTheProgramSaysSoAndEndsWithStatusOne) {
    // A console-only application object leaves the runtime no way to show a window.
    EXPECT_EXIT(
        {
            int argc = 1;
            QCoreApplication console(argc, testArgv());
            std::exit(zelbrinMain(argc, testArgv()));
        },
        ::testing::ExitedWithCode(1),
        "Zelbrin: the window cannot open: the user-interface runtime did not start: a "
        "console-only application object exists");
}

TEST(LibErrChk, PrintsOneLinePerFailureAndNothingForSuccess) {
    unsigned char value = 0;
    {
        CapturedErrors errors;
        libErrChk(1);
        libErrChk(0);
        EXPECT_EQ(errors.text(), "");
    }
    CapturedErrors errors;
    libErrChk(orvex_portIn(3, &value));
    EXPECT_EQ(errors.text(), std::string("Error = -1, ") + orvex_GetLastErrorBuffer() + "\n");
    EXPECT_THAT(errors.text(), HasSubstr("ASSERT ERORR: orvex, line 305"));
}

} // namespace
} // namespace zelbrin
