// The program started where the board driver library cannot be loaded: run with
// ORVEX_DRIVER naming a file that does not exist.
#include "app_harness.h"

#include "support/panel_test_access.h"
#include "uiruntime/userint.h"
#include "widgets/xygraph.h"
#include "window/panel_frame.h"
#include "window/startup.h"

#include <QTimer>
#include <QWidget>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelbrin {
namespace {

TEST(NoDriver, EachFailingStartUpStepPrintsOneLineAndTheWindowStillOpens) {
    std::vector<std::string> lines;
    {
        CapturedErrors errors;
        prepareBoard();
        lines = errors.errorLines();
    }
    // The slot choice needs no driver, and the write to port 2 is only remembered while
    // its direction could not be set: the three direction steps are the ones that fail.
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string &line : lines) {
        EXPECT_TRUE(line.starts_with("Error = -200397, ")) << line;
    }
    ASSERT_TRUE(openWindow(testArgv()));
    EXPECT_TRUE(panel_test::panelWidget(panelHandle)->isVisible());
    closeDown();
}

TEST(NoDriver, TheBoardShowsAsNotAnsweringAndEveryReadingAsUnknown) {
    forgetRememberedSettings();
    prepareBoard();
    ASSERT_TRUE(openWindow(testArgv()));
    EXPECT_THAT(user::text(PANEL_BOARD),
                ::testing::StartsWith("\u25CF Board not answering: -200397, "));
    EXPECT_THAT(user::text(PANEL_BOARD), ::testing::HasSubstr("NI-DAQmx"));
    std::vector<std::string> lines;
    {
        CapturedErrors errors;
        user::tickSampling();
        user::tickRefresh();
        lines = errors.errorLines();
    }
    // The port reads find no port set up, so they make no driver call and read nothing.
    EXPECT_EQ(lines.size(), 2u) << "one line for each voltage read";
    EXPECT_TRUE(std::isnan(user::doubleValue(PANEL_AI2)));
    EXPECT_TRUE(std::isnan(user::doubleValue(PANEL_AI3)));
    double line = 0.0;
    for (int i = 0; i < panelLines; ++i) {
        GetCtrlVal(panelHandle, ledCtrl[i], &line);
        EXPECT_TRUE(std::isnan(line)) << "line " << i << " is neither lit nor dark";
    }
    EXPECT_TRUE(user::plotted().empty());
    closeDown();
}

TEST(NoDriver, ClosingTheWindowStillEndsWithStatusZero) {
    ASSERT_NE(InitCVIRTEEx(nullptr, testArgv(), nullptr), 0);
    QTimer::singleShot(200, [] { panel_test::panelWidget(panelHandle)->close(); });
    EXPECT_EQ(zelbrinMain(1, testArgv()), 0);
}

} // namespace
} // namespace zelbrin
