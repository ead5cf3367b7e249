// A remembered window place is put on a screen before the window takes it: the rule on
// its own, and the window started with damaged settings on the tests' two screens
// (screens.json: 1920x1080 at 0,0 and 1280x1024 at 1920,0, windows without frames).
#include "app_harness.h"

#include "logic/window_placement.h"
#include "support/panel_test_access.h"
#include "window/panel_frame.h"
#include "window/startup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace zelbrin {
namespace {

const std::vector<ScreenArea> twoScreens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};

struct PlacementCase {
    const char *name;
    ScreenArea wanted;
    ScreenArea placed;
};

void PrintTo(const PlacementCase &c, std::ostream *out) {
    *out << c.name;
}

class WindowPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(WindowPlacement, PutsTheWindowOnTheScreenItOverlapsMost) {
    const PlacementCase &c = GetParam();
    const ScreenArea placed = placeOnScreens(c.wanted, twoScreens);
    EXPECT_EQ(placed.left, c.placed.left);
    EXPECT_EQ(placed.top, c.placed.top);
    EXPECT_EQ(placed.width, c.placed.width);
    EXPECT_EQ(placed.height, c.placed.height);
}

INSTANTIATE_TEST_SUITE_P(
    Places, WindowPlacement,
    ::testing::Values(
        PlacementCase{"OnTheFirstScreenAsItIs", {100, 50, 1000, 700}, {100, 50, 1000, 700}},
        PlacementCase{"OnTheSecondScreenAsItIs", {2000, 10, 1000, 700}, {2000, 10, 1000, 700}},
        PlacementCase{
            "TheLargestWidgetCutToTheFirstScreen", {0, 0, 16777215, 16777215}, {0, 0, 1920, 1080}},
        PlacementCase{"FarLeftAndUpMovedOntoTheFirstScreen",
                      {INT_MIN, INT_MIN, 1000, 700},
                      {0, 0, 1000, 700}},
        PlacementCase{"FarRightAndDownMovedOntoTheFirstScreen",
                      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                      {0, 0, 1920, 1080}},
        PlacementCase{"MostlyOnTheSecondScreenMovedWhollyOntoIt",
                      {1800, 500, 1000, 700},
                      {1920, 324, 1000, 700}},
        PlacementCase{
            "NoSizeGivenThePixelTheRuntimeRaisesToItsMinimum", {10, 10, -5, 0}, {10, 10, 1, 1}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(WindowPlacementWithoutScreens, KeepsTheWantedPlace) {
    const ScreenArea placed = placeOnScreens({-50, 60, 70, 80}, {});
    EXPECT_EQ(placed.left, -50);
    EXPECT_EQ(placed.height, 80);
}

using RememberedPlace = AppOnStand;

void startWithRememberedGeometry(const QList<QVariant> &geometry) {
    closeDown();
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Zelbrin", "zelbrin")
        .setValue("window/geometry", geometry);
    prepareBoard();
    ASSERT_TRUE(openWindow(testArgv()));
}

bool onAScreenWhole(const QRect &window) {
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(window)) {
            return true;
        }
    }
    return false;
}

QRect rememberedAfterClose() {
    closeDown();
    const QList<QVariant> saved =
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Zelbrin", "zelbrin")
            .value("window/geometry")
            .toList();
    prepareBoard();
    EXPECT_TRUE(openWindow(testArgv())); // for TearDown
    return saved.size() == 4
               ? QRect(saved[0].toInt(), saved[1].toInt(), saved[2].toInt(), saved[3].toInt())
               : QRect();
}

TEST_F(RememberedPlace, OfTheLargestWidgetOpensNoLargerThanTheScreen) {
    startWithRememberedGeometry({0, 0, 16777215, 16777215});
    const QRect shown = panel_test::panelWidget(panelHandle)->geometry();
    EXPECT_TRUE(onAScreenWhole(shown))
        << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
    EXPECT_TRUE(onAScreenWhole(rememberedAfterClose()));
}

TEST_F(RememberedPlace, OffEveryScreenOpensOnOneAndIsRememberedThere) {
    startWithRememberedGeometry({INT_MIN, INT_MIN, 1000, 700});
    const QRect shown = panel_test::panelWidget(panelHandle)->geometry();
    EXPECT_TRUE(onAScreenWhole(shown)) << shown.x() << "," << shown.y();
    EXPECT_EQ(shown.size(), QSize(1000, 700));
    EXPECT_TRUE(onAScreenWhole(rememberedAfterClose()));
}

TEST_F(RememberedPlace, OnTheSecondScreenIsKept) {
    startWithRememberedGeometry({2000, 100, 1000, 700});
    EXPECT_EQ(panel_test::panelWidget(panelHandle)->geometry(), QRect(2000, 100, 1000, 700));
}

} // namespace
} // namespace zelbrin
