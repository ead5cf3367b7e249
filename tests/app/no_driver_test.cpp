// The program started where the board driver library cannot be loaded: run with
// ORVEX_DRIVER naming a file that does not exist.
#include "app_harness.h"

#include "panel_frame.h"
#include "panel_test_access.h"
#include "startup.h"
#include "userint.h"

#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

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

TEST(NoDriver, ClosingTheWindowStillEndsWithStatusZero) {
    ASSERT_NE(InitCVIRTEEx(nullptr, testArgv(), nullptr), 0);
    QTimer::singleShot(200, [] { panel_test::panelWidget(panelHandle)->close(); });
    EXPECT_EQ(zelbrinMain(1, testArgv()), 0);
}

} // namespace
