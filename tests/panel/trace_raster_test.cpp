#include "graph/trace_raster.h"

#include <gtest/gtest.h>
#include <random>

namespace panel {
namespace {

constexpr QRgb red = 0xFF0000;

QImage transparentImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QRectF boxOf(QPointF a, QPointF b) {
    return QRectF(a, b).normalized();
}

// Whatever the raster paints lies inside the reach it gives for the primitive: a redraw
// passes over a primitive whose reach is opaque, so a pixel outside it would be lost.
TEST(TraceRaster, PaintsOnlyInsideTheReachItGives) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(2.0, 38.0);
    for (int i = 0; i < 200; ++i) {
        const QPointF a(coordinate(random), coordinate(random));
        const QPointF b = i % 10 == 0 ? a : QPointF(coordinate(random), coordinate(random));
        const bool marker = i % 4 == 0;
        QImage image = transparentImage({40, 40});
        TraceRaster raster(image, TraceRaster::Mode::Over);
        const QRect reach =
            marker ? raster.squareReach(boxOf(a, a), 5.0) : raster.lineReach(boxOf(a, b), 1.5);
        if (marker) {
            raster.square(a, 5.0, red);
        } else {
            raster.line(a, b, red, 1.5);
        }
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) != 0) {
                    ASSERT_TRUE(reach.contains(x, y)) << i << ": " << x << ", " << y;
                }
            }
        }
    }
}

class RepeatedFringe : public ::testing::TestWithParam<TraceRaster::Mode> {};

// Rounding every blend to nearest would leave such a pixel short of opaque for good, and a
// redraw painting under would then paint it again for every later segment that reaches it.
TEST_P(RepeatedFringe, EndsOpaqueInTheColourPainted) {
    QImage image = transparentImage({20, 20});
    TraceRaster raster(image, GetParam());
    // Row 11's centres lie 1.2 pixels from the line: a coverage of a twentieth.
    for (int i = 0; i < 300; ++i) {
        raster.line({2.0, 10.3}, {18.0, 10.3}, red, 1.5);
    }
    EXPECT_EQ(qAlpha(image.pixel(5, 11)), 255);
    EXPECT_EQ(image.pixel(5, 11), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(5, 12), 0u) << "beyond the fringe";
    if (GetParam() == TraceRaster::Mode::Under) {
        EXPECT_TRUE(raster.covered(QRect(5, 9, 10, 3)));
    }
}

INSTANTIATE_TEST_SUITE_P(BothOrders, RepeatedFringe,
                         ::testing::Values(TraceRaster::Mode::Over, TraceRaster::Mode::Under),
                         [](const auto &info) {
                             return info.param == TraceRaster::Mode::Over ? "Over" : "Under";
                         });

} // namespace
} // namespace panel
