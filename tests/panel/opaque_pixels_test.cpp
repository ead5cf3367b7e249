#include "graph/opaque_pixels.h"

#include <gtest/gtest.h>

namespace panel {
namespace {

// Wide enough that a row needs several windows and its bytes several 64-bit loads.
constexpr QSize pictureSize(700, 30);

TEST(OpaquePixels, AnAreaIsCoveredOnlyWhenEveryPixelOfItIs) {
    OpaquePixels pixels(pictureSize);
    const QRect area(250, 5, 70, 6); // two windows across
    EXPECT_FALSE(pixels.covered(area));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            pixels.turnedOpaque(x, y);
        }
    }
    EXPECT_TRUE(pixels.covered(area));
    EXPECT_TRUE(pixels.opaqueAt(319, 10));
    EXPECT_FALSE(pixels.opaqueAt(320, 10));
    EXPECT_FALSE(pixels.covered(area.adjusted(0, 0, 1, 0))) << "one pixel further right";
    EXPECT_FALSE(pixels.covered(area.adjusted(-1, 0, 0, 0))) << "one pixel further left";
    EXPECT_FALSE(pixels.covered(area.adjusted(0, -1, 0, 0))) << "one pixel further up";
}

TEST(OpaquePixels, OnlyThePartInsideThePictureCounts) {
    OpaquePixels pixels(pictureSize);
    EXPECT_TRUE(pixels.covered(QRect(-20, -20, 10, 10)));
    EXPECT_TRUE(pixels.covered(QRect(700, 0, 50, 30)));
    for (int x = 690; x < 700; ++x) {
        pixels.turnedOpaque(x, 29);
    }
    EXPECT_TRUE(pixels.covered(QRect(690, 29, 100, 100)));
    EXPECT_FALSE(pixels.covered(QRect(689, 29, 100, 100)));
    EXPECT_FALSE(pixels.covered(QRect(690, 28, 100, 100)));
}

TEST(OpaquePixels, AWholeRowAcrossEveryWindow) {
    OpaquePixels pixels(pictureSize);
    const QRect row(0, 7, 700, 1);
    for (int x = 0; x < 700; ++x) {
        EXPECT_FALSE(pixels.covered(row)) << x;
        pixels.turnedOpaque(x, 7);
    }
    EXPECT_TRUE(pixels.covered(row));
    EXPECT_FALSE(pixels.covered(row.adjusted(0, 0, 0, 1)));
}

TEST(OpaquePixels, AWindowStartsAtItsPixelWhateverItsPlaceInAByte) {
    OpaquePixels pixels(pictureSize);
    const int opaque[] = {100, 100 + OpaquePixels::windowPixels - 1};
    for (const int x : opaque) {
        pixels.turnedOpaque(x, 3);
    }
    const std::uint64_t window = OpaquePixels::spanOf(OpaquePixels::windowPixels);
    for (int from = 93; from <= 100; ++from) {
        std::uint64_t expected = 0;
        for (const int x : opaque) {
            if (x - from < OpaquePixels::windowPixels) {
                expected |= std::uint64_t{1} << (x - from);
            }
        }
        EXPECT_EQ(pixels.window(from, 3) & window, expected) << "from " << from;
    }
    EXPECT_EQ(pixels.window(0, 2) & window, 0u);
}

} // namespace
} // namespace panel
