// The XY graph: axis ranges, what is stored, and what appears on screen where.
#include "panel_fixture.h"
#include "support/panel_test_access.h"
#include "widgets/xygraph.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

class Graph : public PanelTest {
  protected:
    void SetUp() override {
        PanelTest::SetUp();
        graph = panel_test::graphOf(panel, GRAPH);
        ASSERT_TRUE(graph);
    }
    // The colour at the data point, or the closest match to rgb within a pixel of it
    // (lines are antialiased).
    bool showsNear(const QImage &image, double x, double y, QRgb rgb) const {
        const QPoint at = graph->toPixel(x, y);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QColor seen = image.pixelColor(at + QPoint(dx, dy));
                const QColor want = QColor::fromRgb(rgb);
                if (std::abs(seen.red() - want.red()) < 40 &&
                    std::abs(seen.green() - want.green()) < 40 &&
                    std::abs(seen.blue() - want.blue()) < 40) {
                    return true;
                }
            }
        }
        return false;
    }

    panel::XYGraph *graph = nullptr;
};

TEST_F(Graph, StartsWithTheFilesAxisRanges) {
    EXPECT_EQ(graph->xMin(), -1.0);
    EXPECT_EQ(graph->xMax(), 1.0);
    EXPECT_EQ(graph->yMin(), 0.0);
    EXPECT_EQ(graph->yMax(), 10.0);
}

TEST_F(Graph, ManualScalingSetsEachAxisAlone) {
    EXPECT_EQ(SetAxisScalingMode(panel, GRAPH, VAL_XAXIS, VAL_MANUAL, -0.1, 5.1), 0);
    EXPECT_EQ(graph->xMin(), -0.1);
    EXPECT_EQ(graph->xMax(), 5.1);
    EXPECT_EQ(graph->yMax(), 10.0);
    EXPECT_EQ(SetAxisScalingMode(panel, GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, -10.1, 10.1), 0);
    EXPECT_EQ(graph->yMin(), -10.1);
    EXPECT_EQ(graph->yMax(), 10.1);
    EXPECT_EQ(graph->xMax(), 5.1);
}

struct BadScaling {
    int control;
    int axis;
    int mode;
    double min;
    double max;
    int result;
};

class RefusedScaling : public Graph, public ::testing::WithParamInterface<BadScaling> {};

TEST_P(RefusedScaling, LeavesBothAxesAsTheyWere) {
    const BadScaling &s = GetParam();
    EXPECT_EQ(SetAxisScalingMode(panel, s.control, s.axis, s.mode, s.min, s.max), s.result);
    EXPECT_EQ(graph->xMin(), -1.0);
    EXPECT_EQ(graph->xMax(), 1.0);
    EXPECT_EQ(graph->yMin(), 0.0);
    EXPECT_EQ(graph->yMax(), 10.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedScaling,
    ::testing::Values(BadScaling{GRAPH, VAL_XAXIS, VAL_MANUAL, 1, 1, UI_ERROR_BAD_VALUE},
                      BadScaling{GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, 5, -5, UI_ERROR_BAD_VALUE},
                      BadScaling{GRAPH, VAL_XAXIS, VAL_MANUAL, notANumber, 1, UI_ERROR_BAD_VALUE},
                      BadScaling{GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, 0, infinity,
                                 UI_ERROR_BAD_VALUE},
                      BadScaling{GRAPH, 2, VAL_MANUAL, 0, 1, UI_ERROR_WRONG_KIND},
                      BadScaling{GRAPH, VAL_XAXIS, 1, 0, 1, UI_ERROR_WRONG_KIND},
                      BadScaling{BUTTON, VAL_XAXIS, VAL_MANUAL, 0, 1, UI_ERROR_WRONG_KIND},
                      BadScaling{99, VAL_XAXIS, VAL_MANUAL, 0, 1, UI_ERROR_BAD_CONTROL}));

TEST_F(Graph, LineAndPointShowInTheirColoursWhereTheyWerePlotted) {
    ASSERT_EQ(PlotLine(panel, GRAPH, -0.8, 8.0, 0.8, 8.0, VAL_RED), 0);
    ASSERT_EQ(PlotPoint(panel, GRAPH, 0.5, 2.0, VAL_SOLID_SQUARE, VAL_GREEN), 0);
    ASSERT_EQ(PlotLine(panel, GRAPH, -0.5, 1.0, -0.5, 9.0, 0x0000FF), 0);
    const QImage image = graph->renderToImage();
    EXPECT_TRUE(showsNear(image, 0.0, 8.0, 0xFF0000));
    EXPECT_TRUE(showsNear(image, -0.8, 8.0, 0xFF0000));
    EXPECT_TRUE(showsNear(image, 0.5, 2.0, 0x00FF00));
    EXPECT_TRUE(showsNear(image, -0.5, 5.0, 0x0000FF));
    // Away from them the plot stays white.
    EXPECT_TRUE(showsNear(image, 0.0, 5.0, 0xFFFFFF));
    EXPECT_FALSE(showsNear(image, 0.9, 8.0, 0xFF0000)); // past the line's end
    EXPECT_FALSE(showsNear(image, 0.5, 3.0, 0x00FF00));
}

TEST_F(Graph, AxisChangeRedrawsTheStoredTraceAtItsNewPlace) {
    ASSERT_EQ(PlotPoint(panel, GRAPH, 0.5, 2.0, VAL_SOLID_SQUARE, VAL_GREEN), 0);
    graph->renderToImage();
    ASSERT_EQ(SetAxisScalingMode(panel, GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, 0.0, 4.0), 0);
    const QImage image = graph->renderToImage();
    EXPECT_TRUE(showsNear(image, 0.5, 2.0, 0x00FF00));
    EXPECT_FALSE(showsNear(image, 0.5, 0.8, 0x00FF00)); // where it stood before
}

// The largest difference of any colour channel between two pictures of one size.
int largestChannelDifference(const QImage &a, const QImage &b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

// A full redraw skips what newer primitives cover and paints the rest under them; only
// rounding in partly covered pixels may tell it from painting everything in order, and a
// pixel built up from many faint fringes (a trace held at the edge of where it ever goes)
// gathers the most of it.
constexpr int redrawTolerance = 4; // of 255, per channel, in any pixel

TEST_F(Graph, DrawingBitByBitEqualsDrawingAllAtOnce) {
    // Ticks add segments to the cached picture; a resize or axis change redraws all of it.
    for (int i = 0; i < 50; ++i) {
        const double x = -1.0 + i * 0.04;
        PlotLine(panel, GRAPH, x, 5 + 4 * std::sin(x * 5), x + 0.04, 5 + 4 * std::sin(x * 5 + 0.2),
                 i % 2 ? VAL_RED : VAL_GREEN);
        if (i % 10 == 0) {
            PlotPoint(panel, GRAPH, x, 1.0, VAL_SOLID_SQUARE, 0x123456);
            graph->renderToImage();
        }
    }
    const QImage incremental = graph->renderToImage();
    SetAxisScalingMode(panel, GRAPH, VAL_XAXIS, VAL_MANUAL, -1.0, 1.0); // same range, redrawn
    const QImage redrawn = graph->renderToImage();
    ASSERT_EQ(redrawn.size(), incremental.size());
    EXPECT_LE(largestChannelDifference(redrawn, incremental), redrawTolerance);
}

TEST_F(Graph, FullRedrawPaintsABlockWhoseOldestSegmentAloneShows) {
    // The first block: its oldest segment low down and wider than the rest, which all lie
    // on one short line higher up.
    ASSERT_EQ(PlotLine(panel, GRAPH, -0.9, 1.0, 0.9, 1.0, VAL_RED), 0);
    for (std::size_t i = 1; i < panel::GraphStore::blockSize; ++i) {
        PlotLine(panel, GRAPH, -0.2, 8.0, 0.2, 8.0, VAL_GREEN);
    }
    // Newer blocks paint a band around that line opaque across the whole plot: the rest of
    // the first block is covered, its oldest segment is not, and the redraw may pass over
    // the block only if its bounds forget that segment's minimum.
    for (double y = 6.5; y <= 9.5; y += 0.01) {
        PlotLine(panel, GRAPH, -1.0, y, 1.0, y, 0x0000FF);
    }
    const QImage fast = graph->renderTraces(panel::XYGraph::TraceDrawing::SkipCovered);
    const QImage exact = graph->renderTraces(panel::XYGraph::TraceDrawing::Exact);
    EXPECT_LE(largestChannelDifference(fast, exact), redrawTolerance);
    for (const double x : {-0.8, 0.0, 0.8}) {
        const QPoint low = graph->toPixel(x, 1.0) - graph->plotArea().topLeft();
        EXPECT_EQ(fast.pixel(low), exact.pixel(low)) << x;
        EXPECT_NE(qAlpha(exact.pixel(low)), 0) << x;
    }
}

// Where a long trace wanders: every step is a normal step of the given size from the last
// point, kept inside the given x and y ranges.
struct TraceShape {
    const char *name;
    double step;
    double xLow, xHigh, yLow, yHigh;
};

void PrintTo(const TraceShape &shape, std::ostream *out) {
    *out << shape.name;
}

class FullRedraw : public Graph, public ::testing::WithParamInterface<TraceShape> {};

TEST_P(FullRedraw, MatchesTheExactPictureWithinTheTolerance) {
    // Two colours with markers, overlapping itself many times: most of it is skipped by the
    // full redraw, and what it does paint goes under what is there.
    const TraceShape &shape = GetParam();
    std::mt19937 random(7);
    std::normal_distribution<double> step(0.0, shape.step);
    double x = (shape.xLow + shape.xHigh) / 2, y = (shape.yLow + shape.yHigh) / 2;
    for (int i = 0; i < 20'000; ++i) {
        const double nx = std::clamp(x + step(random), shape.xLow, shape.xHigh);
        const double ny = std::clamp(y + 10 * step(random), shape.yLow, shape.yHigh);
        PlotLine(panel, GRAPH, x, y, nx, ny, i % 3 ? VAL_RED : VAL_GREEN);
        if (i % 997 == 0) {
            PlotPoint(panel, GRAPH, nx, ny, VAL_SOLID_SQUARE, 0x0000FF);
        }
        x = nx;
        y = ny;
    }
    const QImage fast = graph->renderTraces(panel::XYGraph::TraceDrawing::SkipCovered);
    const QImage exact = graph->renderTraces(panel::XYGraph::TraceDrawing::Exact);
    ASSERT_EQ(fast.size(), exact.size());
    EXPECT_LE(largestChannelDifference(fast, exact), redrawTolerance);
    const QPoint centre = graph->toPixel(x, y) - graph->plotArea().topLeft();
    EXPECT_NE(exact.pixel(centre), 0u) << "the trace shows";
}

// The axes run from -1 to 1 across and 0 to 10 up.
INSTANTIATE_TEST_SUITE_P(
    Traces, FullRedraw,
    ::testing::Values(TraceShape{"WanderingEverywhere", 0.05, -1.0, 1.0, 0.0, 10.0},
                      // A joystick at rest: the same few pixels over and over, many segments
                      // of no length at all.
                      TraceShape{"HeldStill", 0.0005, 0.2, 0.2002, 5.0, 5.002},
                      // A joystick at full deflection, held against the ends of the axes and
                      // just inside them, where no later segment ever covers its fringe.
                      TraceShape{"AgainstTheBorder", 0.05, 0.9, 0.99, 0.1, 9.9}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Graph, SquarePlotAreaStaysSquareAndCentredAsTheGraphChangesShape) {
    graph->setSquarePlot(true);
    for (const QSize size : {QSize(500, 300), QSize(260, 600)}) {
        graph->resize(size);
        const QRect area = graph->plotArea();
        EXPECT_EQ(area.width(), area.height()) << size.width() << "x" << size.height();
        EXPECT_TRUE(graph->rect().contains(area));
    }
}

TEST_F(Graph, AxisTitlesAreSetAsTextAttributesOfTheGraphOnly) {
    EXPECT_EQ(SetCtrlAttribute(panel, GRAPH, ATTR_XNAME, "X: AI2 in V"), 0);
    EXPECT_EQ(SetCtrlAttribute(panel, GRAPH, ATTR_YNAME, "Y: AI3 in V"), 0);
    EXPECT_EQ(graph->xTitle(), "X: AI2 in V");
    EXPECT_EQ(graph->yTitle(), "Y: AI3 in V");
    EXPECT_EQ(SetCtrlAttribute(panel, FIELD, ATTR_XNAME, "x"), UI_ERROR_WRONG_KIND);
    EXPECT_EQ(SetCtrlAttribute(panel, GRAPH, ATTR_INTERVAL, "x"), UI_ERROR_WRONG_KIND);
}

TEST_F(Graph, DeleteAllPlotsEmptiesStoreAndPicture) {
    PlotLine(panel, GRAPH, -0.8, 8.0, 0.8, 8.0, VAL_RED);
    PlotPoint(panel, GRAPH, 0.5, 2.0, VAL_SOLID_SQUARE, VAL_GREEN);
    graph->renderToImage();
    EXPECT_EQ(DeleteGraphPlot(panel, GRAPH, VAL_ALL_PLOTS, VAL_IMMEDIATE_DRAW), 0);
    EXPECT_EQ(graph->store().size(), 0u);
    const QImage image = graph->renderToImage();
    EXPECT_FALSE(showsNear(image, 0.0, 8.0, 0xFF0000));
    EXPECT_FALSE(showsNear(image, 0.5, 2.0, 0x00FF00));
    EXPECT_EQ(DeleteGraphPlot(panel, GRAPH, 5, VAL_IMMEDIATE_DRAW), UI_ERROR_BAD_VALUE);
}

TEST_F(Graph, StoresSegmentsAndPointsApartInPlottingOrder) {
    PlotLine(panel, GRAPH, 0.1, 0.2, 0.3, 0.4, VAL_RED);
    PlotPoint(panel, GRAPH, 0.5, 0.6, VAL_SOLID_SQUARE, VAL_GREEN);
    EXPECT_EQ(graph->store().segmentCount(), 1u);
    EXPECT_EQ(graph->store().markerCount(), 1u);
    const panel::GraphPrimitive point = graph->store().at(1);
    EXPECT_TRUE(point.marker);
    EXPECT_FLOAT_EQ(point.x1, 0.5f);
    EXPECT_EQ(point.rgb, 0x00FF00u);
}

struct Unplottable {
    const char *name;
    double x, y;
    int colour;
};

void PrintTo(const Unplottable &u, std::ostream *out) {
    *out << u.name;
}

class NotDrawn : public Graph, public ::testing::WithParamInterface<Unplottable> {};

TEST_P(NotDrawn, AtEitherEndOrAsAPointIsRefusedAndNothingIsStored) {
    const Unplottable &u = GetParam();
    EXPECT_EQ(PlotLine(panel, GRAPH, u.x, u.y, 0.5, 5, u.colour), UI_ERROR_BAD_VALUE);
    EXPECT_EQ(PlotLine(panel, GRAPH, 0.5, 5, u.x, u.y, u.colour), UI_ERROR_BAD_VALUE);
    EXPECT_EQ(PlotPoint(panel, GRAPH, u.x, u.y, VAL_SOLID_SQUARE, u.colour), UI_ERROR_BAD_VALUE);
    EXPECT_EQ(graph->store().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Values, NotDrawn,
                         ::testing::Values(Unplottable{"NaNX", notANumber, 0, VAL_RED},
                                           Unplottable{"NaNY", 0, notANumber, VAL_RED},
                                           Unplottable{"InfiniteX", infinity, 0, VAL_RED},
                                           Unplottable{"NegInfiniteY", 0, -infinity, VAL_RED},
                                           Unplottable{"BeyondFloatRange", 1e300, 0, VAL_RED},
                                           Unplottable{"ColourBeyond24Bits", 0, 0, 0x1000000},
                                           Unplottable{"NegativeColour", 0, 0, -1}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Graph, FarOutsideTheAxesIsStoredButDrawsNothing) {
    EXPECT_EQ(PlotLine(panel, GRAPH, 1e30, 1e30, 2e30, -1e30, VAL_RED), 0);
    const QImage image = graph->renderToImage();
    EXPECT_TRUE(showsNear(image, 0.0, 5.0, 0xFFFFFF));
    EXPECT_EQ(graph->store().size(), 1u);
}

TEST_F(Graph, OnlyTheSolidSquareMarkerAndOnlyGraphs) {
    EXPECT_EQ(PlotPoint(panel, GRAPH, 0, 0, 1, VAL_RED), UI_ERROR_WRONG_KIND);
    EXPECT_EQ(PlotLine(panel, FIELD, 0, 0, 1, 1, VAL_RED), UI_ERROR_WRONG_KIND);
    EXPECT_EQ(DeleteGraphPlot(panel, SWITCH, VAL_ALL_PLOTS, 1), UI_ERROR_WRONG_KIND);
    EXPECT_EQ(graph->store().size(), 0u);
}

TEST_F(Graph, AxesCarryTickLabels) {
    // Labels are drawn in the margins: some dark pixels left of and below the plot area.
    const QImage image = graph->renderToImage();
    const QRect area = graph->plotArea();
    auto darkIn = [&image](const QRect &region) {
        for (int y = region.top(); y <= region.bottom(); ++y) {
            for (int x = region.left(); x <= region.right(); ++x) {
                if (qGray(image.pixel(x, y)) < 100) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(darkIn(QRect(0, area.top(), area.left() - 6, area.height())));
    EXPECT_TRUE(darkIn(QRect(area.left(), area.bottom() + 6, area.width(), 15)));
}

} // namespace
