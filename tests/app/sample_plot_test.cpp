#include "logic/sample_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelbrin {

// Found by the test framework next to the type: in its namespace, outside the file's own.
void PrintTo(const PlotMark &m, std::ostream *out) {
    *out << (m.series == PlotSeries::Raw ? "raw " : "calibrated ")
         << (m.point ? "point " : "segment ") << m.x1 << ',' << m.y1 << " to " << m.x2 << ','
         << m.y2;
}

namespace {

constexpr Calibration startCalibration = {0.0, 2.5, 5.0};
constexpr TracePoint origin = {0.0, 0.0, 0.0, 0.0};
constexpr double notRead = std::numeric_limits<double>::quiet_NaN();
constexpr int someDriverFailure = -200279;

constexpr PlotChoices pointsBoth = {PLOT_POINTS, true, true};
constexpr PlotChoices traceBoth = {PLOT_TRACE, true, true};

TEST(SampleRead, AFailedReadHasNoVoltageAndAWarningKeepsIt) {
    EXPECT_TRUE(std::isnan(readVolts(someDriverFailure, 1.5)));
    EXPECT_DOUBLE_EQ(readVolts(0, 1.5), 1.5);
    EXPECT_DOUBLE_EQ(readVolts(200010, 1.5), 1.5);
}

TEST(SampleTracePoint, SwapTakesXFromInput3AndCalibratesEachAxisWithItsOwnCalibration) {
    constexpr Calibration uneven = {1.0, 2.0, 4.0};
    const TracePoint plain = tracePoint(1.0, 4.0, false, startCalibration, uneven);
    EXPECT_DOUBLE_EQ(plain.rawX, 1.0);
    EXPECT_DOUBLE_EQ(plain.rawY, 4.0);
    EXPECT_DOUBLE_EQ(plain.posX, -0.6);
    EXPECT_DOUBLE_EQ(plain.posY, 1.0);

    const TracePoint swapped = tracePoint(1.0, 4.0, true, startCalibration, uneven);
    EXPECT_DOUBLE_EQ(swapped.rawX, 4.0);
    EXPECT_DOUBLE_EQ(swapped.rawY, 1.0);
    EXPECT_DOUBLE_EQ(swapped.posX, 0.6);
    EXPECT_DOUBLE_EQ(swapped.posY, -1.0);
}

// The tick before and this one, with the first calibration.
constexpr TracePoint previousTick = {1.25, 2.5, -0.5, 0.0};
constexpr TracePoint thisTick = {3.75, 1.25, 0.5, -0.5};

constexpr PlotMark rawPoint = {PlotSeries::Raw, true, 3.75, 1.25, 3.75, 1.25};
constexpr PlotMark calibratedPoint = {PlotSeries::Calibrated, true, 0.5, -0.5, 0.5, -0.5};
constexpr PlotMark rawSegment = {PlotSeries::Raw, false, 1.25, 2.5, 3.75, 1.25};
constexpr PlotMark calibratedSegment = {PlotSeries::Calibrated, false, -0.5, 0.0, 0.5, -0.5};

struct PlotCase {
    const char *what;
    PlotChoices choices;
    bool clearGraph;
    std::vector<PlotMark> marks;
};

void PrintTo(const PlotCase &c, std::ostream *out) {
    *out << c.what;
}

class SamplePlot : public ::testing::TestWithParam<PlotCase> {};

TEST_P(SamplePlot, DrawsTheFlaggedMarksRawFirst) {
    const PlotCase &c = GetParam();
    const TickPlot plot = planTickPlot(previousTick, thisTick, c.choices);
    EXPECT_EQ(plot.clearGraph, c.clearGraph) << c.what;
    EXPECT_EQ(plot.marks, c.marks) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Choices, SamplePlot,
    ::testing::Values(
        PlotCase{"points replace the graph", pointsBoth, true, {rawPoint, calibratedPoint}},
        PlotCase{"calibrated point only", {PLOT_POINTS, false, true}, true, {calibratedPoint}},
        PlotCase{"points mode with no flag still clears", {PLOT_POINTS, false, false}, true, {}},
        PlotCase{"trace joins the ticks", traceBoth, false, {rawSegment, calibratedSegment}},
        PlotCase{"raw trace only", {PLOT_TRACE, true, false}, false, {rawSegment}},
        PlotCase{"any other mode draws nothing", {2, true, true}, false, {}},
        PlotCase{"nor does a negative mode", {-1, true, true}, false, {}}));

TEST(SamplePlotOfTheFirstTick, StartsTheTraceAtTheOrigin) {
    const TickPlot plot = planTickPlot(origin, thisTick, traceBoth);
    ASSERT_EQ(plot.marks.size(), 2u);
    EXPECT_EQ(plot.marks[0], (PlotMark{PlotSeries::Raw, false, 0.0, 0.0, 3.75, 1.25}));
    EXPECT_EQ(plot.marks[1], (PlotMark{PlotSeries::Calibrated, false, 0.0, 0.0, 0.5, -0.5}));
}

TEST(SamplePlotOfAFailedRead, DrawsNothingToOrFromItsTick) {
    const TracePoint good = tracePoint(1.0, 4.0, false, startCalibration, startCalibration);
    const TracePoint failed = tracePoint(notRead, 4.0, false, startCalibration, startCalibration);
    EXPECT_TRUE(planTickPlot(good, failed, traceBoth).marks.empty());
    EXPECT_TRUE(planTickPlot(failed, good, traceBoth).marks.empty());

    const TickPlot points = planTickPlot(good, failed, pointsBoth);
    EXPECT_TRUE(points.clearGraph);
    EXPECT_TRUE(points.marks.empty());

    // A calibration that makes a position infinite draws the raw point alone.
    const TracePoint offScale = {1.0, 1.0, std::numeric_limits<double>::infinity(), 0.0};
    const TickPlot rawOnly = planTickPlot(origin, offScale, pointsBoth);
    ASSERT_EQ(rawOnly.marks.size(), 1u);
    EXPECT_EQ(rawOnly.marks[0].series, PlotSeries::Raw);
}

} // namespace
} // namespace zelbrin
