#include "sample_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr Calibration START = {0.0, 2.5, 5.0};
constexpr TracePoint ORIGIN = {0.0, 0.0, 0.0, 0.0};
constexpr double NOT_READ = std::numeric_limits<double>::quiet_NaN();
constexpr int SOME_DRIVER_FAILURE = -200279;

constexpr PlotChoices POINTS_BOTH = {PLOT_POINTS, true, true};
constexpr PlotChoices TRACE_BOTH = {PLOT_TRACE, true, true};

void expectMark(const PlotMark &mark, PlotSeries series, bool point, double x1, double y1,
                double x2, double y2) {
    EXPECT_EQ(mark.series, series);
    EXPECT_EQ(mark.point, point);
    EXPECT_DOUBLE_EQ(mark.x1, x1);
    EXPECT_DOUBLE_EQ(mark.y1, y1);
    EXPECT_DOUBLE_EQ(mark.x2, x2);
    EXPECT_DOUBLE_EQ(mark.y2, y2);
}

TEST(SampleRead, AFailedReadHasNoVoltageAndAWarningKeepsIt) {
    EXPECT_TRUE(std::isnan(readVolts(SOME_DRIVER_FAILURE, 1.5)));
    EXPECT_DOUBLE_EQ(readVolts(0, 1.5), 1.5);
    EXPECT_DOUBLE_EQ(readVolts(200010, 1.5), 1.5);
}

TEST(SampleTracePoint, SwapTakesXFromInput3AndCalibratesEachAxisWithItsOwnCalibration) {
    constexpr Calibration uneven = {1.0, 2.0, 4.0};
    const TracePoint plain = tracePoint(1.0, 4.0, false, START, uneven);
    EXPECT_DOUBLE_EQ(plain.rawX, 1.0);
    EXPECT_DOUBLE_EQ(plain.rawY, 4.0);
    EXPECT_DOUBLE_EQ(plain.posX, -0.6);
    EXPECT_DOUBLE_EQ(plain.posY, 1.0);

    const TracePoint swapped = tracePoint(1.0, 4.0, true, START, uneven);
    EXPECT_DOUBLE_EQ(swapped.rawX, 4.0);
    EXPECT_DOUBLE_EQ(swapped.rawY, 1.0);
    EXPECT_DOUBLE_EQ(swapped.posX, 0.6);
    EXPECT_DOUBLE_EQ(swapped.posY, -1.0);
}

TEST(SamplePlot, PointsModeClearsTheGraphAndDrawsTheFlaggedPointsRawFirst) {
    const TracePoint now = tracePoint(3.75, 1.25, false, START, START);
    const TickPlot both = planTickPlot(ORIGIN, now, POINTS_BOTH);
    EXPECT_TRUE(both.clearGraph);
    ASSERT_EQ(both.marks.size(), 2u);
    expectMark(both.marks[0], PlotSeries::Raw, true, 3.75, 1.25, 3.75, 1.25);
    expectMark(both.marks[1], PlotSeries::Calibrated, true, 0.5, -0.5, 0.5, -0.5);

    const TickPlot calibratedOnly = planTickPlot(ORIGIN, now, {PLOT_POINTS, false, true});
    ASSERT_EQ(calibratedOnly.marks.size(), 1u);
    EXPECT_EQ(calibratedOnly.marks[0].series, PlotSeries::Calibrated);

    const TickPlot neither = planTickPlot(ORIGIN, now, {PLOT_POINTS, false, false});
    EXPECT_TRUE(neither.clearGraph);
    EXPECT_TRUE(neither.marks.empty());
}

TEST(SamplePlot, TraceModeJoinsThePreviousTickToThisOneWithoutClearing) {
    const TracePoint now = tracePoint(5.0, 2.5, false, START, START);
    const TickPlot first = planTickPlot(ORIGIN, now, TRACE_BOTH);
    EXPECT_FALSE(first.clearGraph);
    ASSERT_EQ(first.marks.size(), 2u);
    expectMark(first.marks[0], PlotSeries::Raw, false, 0.0, 0.0, 5.0, 2.5);
    expectMark(first.marks[1], PlotSeries::Calibrated, false, 0.0, 0.0, 1.0, 0.0);

    const TickPlot rawOnly = planTickPlot(now, now, {PLOT_TRACE, true, false});
    ASSERT_EQ(rawOnly.marks.size(), 1u);
    EXPECT_EQ(rawOnly.marks[0].series, PlotSeries::Raw);
}

TEST(SamplePlot, AnyOtherModeNeitherClearsNorDraws) {
    for (int mode : {2, -1}) {
        const TickPlot plot = planTickPlot(ORIGIN, ORIGIN, {mode, true, true});
        EXPECT_FALSE(plot.clearGraph) << mode;
        EXPECT_TRUE(plot.marks.empty()) << mode;
    }
}

TEST(SamplePlot, AFailedReadDrawsNothingToOrFromItsTick) {
    const TracePoint good = tracePoint(1.0, 4.0, false, START, START);
    const TracePoint failed = tracePoint(NOT_READ, 4.0, false, START, START);
    EXPECT_TRUE(planTickPlot(good, failed, TRACE_BOTH).marks.empty());
    EXPECT_TRUE(planTickPlot(failed, good, TRACE_BOTH).marks.empty());

    const TickPlot points = planTickPlot(good, failed, POINTS_BOTH);
    EXPECT_TRUE(points.clearGraph);
    EXPECT_TRUE(points.marks.empty());

    // A calibration that makes a position infinite draws the raw point alone.
    const TracePoint offScale = {1.0, 1.0, std::numeric_limits<double>::infinity(), 0.0};
    const TickPlot rawOnly = planTickPlot(ORIGIN, offScale, POINTS_BOTH);
    ASSERT_EQ(rawOnly.marks.size(), 1u);
    EXPECT_EQ(rawOnly.marks[0].series, PlotSeries::Raw);
}

} // namespace
