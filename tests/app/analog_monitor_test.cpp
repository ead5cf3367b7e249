#include "app_harness.h"

#include "callbacks/analog_monitor.h"
#include "widgets/xygraph.h"
#include "window/panel_frame.h"
#include <orvex/simboard_control.h>

#include <gtest/gtest.h>

namespace zelbrin {
namespace {

using AnalogMonitor = AppOnStand;

constexpr double voltsTolerance = 1e-3; // what a read of a held joystick may differ by
constexpr int red = 0xFF0000;
constexpr int green = 0x00FF00;
constexpr int someDriverFailure = -200279;

enum { POINTS = 0, TRACE = 1, NONE = 2 };

struct Point {
    double x;
    double y;
};

void holdJoystick(Point volts) {
    ASSERT_EQ(simboard_holdJoystick(volts.x, volts.y), 0);
}

void expectMarker(const panel::GraphPrimitive &p, int rgb, Point at) {
    EXPECT_TRUE(p.marker);
    EXPECT_EQ(p.rgb, static_cast<unsigned>(rgb));
    EXPECT_NEAR(p.x1, at.x, voltsTolerance);
    EXPECT_NEAR(p.y1, at.y, voltsTolerance);
}

// The calibrated point of the last tick, drawn after the raw one.
panel::GraphPrimitive calibratedPoint() {
    const auto plotted = user::plotted();
    EXPECT_EQ(plotted.size(), 2u);
    return plotted.size() == 2 ? plotted[1] : panel::GraphPrimitive{};
}

void expectSegment(const panel::GraphPrimitive &p, int rgb, Point from, Point to) {
    EXPECT_FALSE(p.marker);
    EXPECT_EQ(p.rgb, static_cast<unsigned>(rgb));
    EXPECT_NEAR(p.x1, from.x, voltsTolerance);
    EXPECT_NEAR(p.y1, from.y, voltsTolerance);
    EXPECT_NEAR(p.x2, to.x, voltsTolerance);
    EXPECT_NEAR(p.y2, to.y, voltsTolerance);
}

struct Sample {
    const char *what;
    bool swap;
    Point held; // X wiper on ai2, Y wiper on ai3
    Point raw;
    Point calibrated;
};

void PrintTo(const Sample &s, std::ostream *out) {
    *out << s.what;
}

class JoystickSample : public AnalogMonitor, public ::testing::WithParamInterface<Sample> {};

TEST_P(JoystickSample, ShowsBothVoltagesAndPlotsTheRawAndCalibratedPoints) {
    const Sample &s = GetParam();
    user::setSwitch(PANEL_SWAP, s.swap);
    holdJoystick(s.held);
    user::tickSampling();
    EXPECT_NEAR(user::doubleValue(PANEL_AI2), s.held.x, voltsTolerance) << s.what;
    EXPECT_NEAR(user::doubleValue(PANEL_AI3), s.held.y, voltsTolerance) << s.what;
    const auto plotted = user::plotted();
    ASSERT_EQ(plotted.size(), 2u) << s.what;
    expectMarker(plotted[0], red, s.raw);
    expectMarker(plotted[1], green, s.calibrated);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, JoystickSample,
    ::testing::Values(Sample{"centre", false, {2.5, 2.5}, {2.5, 2.5}, {0.0, 0.0}},
                      Sample{"corner", false, {1.0, 4.0}, {1.0, 4.0}, {-0.6, 0.6}},
                      Sample{"corner swapped", true, {1.0, 4.0}, {4.0, 1.0}, {0.6, -0.6}},
                      Sample{
                          "beyond full deflection", false, {7.5, 0.0}, {7.5, 0.0}, {2.0, -1.0}}));

struct ShownPoints {
    bool raw;
    bool calibrated;
};

void PrintTo(const ShownPoints &shown, std::ostream *out) {
    *out << "raw " << (shown.raw ? "on" : "off") << ", calibrated "
         << (shown.calibrated ? "on" : "off");
}

class ShowFlags : public AnalogMonitor, public ::testing::WithParamInterface<ShownPoints> {};

TEST_P(ShowFlags, ChooseWhichPointsAreDrawn) {
    const ShownPoints &shown = GetParam();
    holdJoystick({3.75, 1.25});
    user::tickSampling();
    user::setSwitch(PANEL_SHOW_RAW, shown.raw);
    user::setSwitch(PANEL_SHOW_NORM, shown.calibrated);
    user::tickSampling();
    std::vector<unsigned> colours;
    for (const panel::GraphPrimitive &p : user::plotted()) {
        colours.push_back(p.rgb);
    }
    std::vector<unsigned> expected;
    if (shown.raw) {
        expected.push_back(red);
    }
    if (shown.calibrated) {
        expected.push_back(green);
    }
    EXPECT_EQ(colours, expected);
}

INSTANTIATE_TEST_SUITE_P(Flags, ShowFlags,
                         ::testing::Values(ShownPoints{true, true}, ShownPoints{true, false},
                                           ShownPoints{false, true}, ShownPoints{false, false}));

TEST_F(AnalogMonitor, TraceModeJoinsTicksAndPlotsNothingModeStillMovesTheTraceStart) {
    const Point a{1.25, 2.5}, b{3.75, 5.0}, c{2.5, 0.0}, d{5.0, 2.5};
    holdJoystick(a);
    user::tickSampling(); // points: a and its calibrated point

    user::choose(PANEL_PLOT_MODE, TRACE);
    holdJoystick(b);
    user::tickSampling();
    auto plotted = user::plotted();
    ASSERT_EQ(plotted.size(), 4u) << "the points of the last tick stay under the trace";
    expectSegment(plotted[2], red, a, b);
    expectSegment(plotted[3], green, {-0.5, 0.0}, {0.5, 1.0});

    user::choose(PANEL_PLOT_MODE, NONE);
    holdJoystick(c);
    user::tickSampling();
    EXPECT_EQ(user::plotted().size(), 4u);

    user::choose(PANEL_PLOT_MODE, TRACE);
    holdJoystick(d);
    user::tickSampling();
    plotted = user::plotted();
    ASSERT_EQ(plotted.size(), 6u);
    expectSegment(plotted[4], red, c, d);
    expectSegment(plotted[5], green, {0.0, -1.0}, {1.0, 0.0});

    user::choose(PANEL_PLOT_MODE, POINTS);
    user::tickSampling();
    plotted = user::plotted();
    ASSERT_EQ(plotted.size(), 2u) << "points mode clears the trace";
    expectMarker(plotted[0], red, d);
}

TEST_F(AnalogMonitor, CalibrateTakesTheSixFieldsAtTheNextTick) {
    user::enter(PANEL_Y_MAX, 4.5);
    user::enter(PANEL_Y_MID, 2.4);
    user::enter(PANEL_Y_MIN, 0.3);
    user::enter(PANEL_X_MAX, 4.6);
    user::enter(PANEL_X_MID, 2.6);
    user::enter(PANEL_X_MIN, 0.2);
    holdJoystick({4.6, 0.3});
    user::tickSampling();
    expectMarker(calibratedPoint(), green, {0.84, -0.88}); // still the first calibration

    user::click(PANEL_CALIBRATE);
    EXPECT_DOUBLE_EQ(calX.min, 0.2);
    EXPECT_DOUBLE_EQ(calX.mid, 2.6);
    EXPECT_DOUBLE_EQ(calX.max, 4.6);
    EXPECT_DOUBLE_EQ(calY.min, 0.3);
    EXPECT_DOUBLE_EQ(calY.mid, 2.4);
    EXPECT_DOUBLE_EQ(calY.max, 4.5);
    user::tickSampling();
    expectMarker(calibratedPoint(), green, {1.0, -1.0});
}

TEST_F(AnalogMonitor, ASideOfZeroSpanPutsThePointAtTheCentreOrAtFullDeflection) {
    user::enter(PANEL_X_MAX, 2.5); // X: no upper side
    user::enter(PANEL_Y_MIN, 2.5); // Y: no lower side
    user::click(PANEL_CALIBRATE);
    holdJoystick({3.0, 1.0});
    user::tickSampling();
    expectMarker(calibratedPoint(), green, {1.0, -1.0});
    holdJoystick({2.5, 2.5});
    user::tickSampling();
    expectMarker(calibratedPoint(), green, {0.0, 0.0});
}

TEST_F(AnalogMonitor, AFailedReadBreaksTheTraceForOneTickInsteadOfDrawingAMadeUpPoint) {
    user::choose(PANEL_PLOT_MODE, TRACE);
    holdJoystick({1.0, 4.0});
    user::tickSampling();
    const std::size_t before = user::plotted().size();
    failNthCall("DAQmxReadAnalogF64", 1, someDriverFailure); // the ai2 read
    CapturedErrors errors;
    user::tickSampling(); // no segment to or from the tick without ai2
    user::tickSampling();
    EXPECT_EQ(errors.errorLines().size(), 1u) << errors.text();
    EXPECT_EQ(user::plotted().size(), before);
    holdJoystick({3.0, 3.5});
    user::tickSampling();
    const auto plotted = user::plotted();
    ASSERT_EQ(plotted.size(), before + 2);
    expectSegment(plotted[before], red, {1.0, 4.0}, {3.0, 3.5});
}

struct AxisRange {
    int button;
    double min;
    double max;
};

void PrintTo(const AxisRange &range, std::ostream *out) {
    *out << range.min << " to " << range.max;
}

class RangeButton : public AnalogMonitor, public ::testing::WithParamInterface<AxisRange> {};

TEST_P(RangeButton, SetsBothAxesWhateverWasShownBefore) {
    const AxisRange &range = GetParam();
    for (int before : {int{PANEL_RANGE_1}, int{PANEL_RANGE_10}, range.button}) {
        user::click(before);
    }
    user::click(range.button);
    const panel::XYGraph &graph = user::graph();
    EXPECT_DOUBLE_EQ(graph.xMin(), range.min);
    EXPECT_DOUBLE_EQ(graph.xMax(), range.max);
    EXPECT_DOUBLE_EQ(graph.yMin(), range.min);
    EXPECT_DOUBLE_EQ(graph.yMax(), range.max);
}

INSTANTIATE_TEST_SUITE_P(Buttons, RangeButton,
                         ::testing::Values(AxisRange{PANEL_RANGE_1, -1.1, 1.1},
                                           AxisRange{PANEL_RANGE_5, -0.1, 5.1},
                                           AxisRange{PANEL_RANGE_10, -10.1, 10.1}));

} // namespace
} // namespace zelbrin
