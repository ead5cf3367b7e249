#include "opaque_tiles.h"

#include <gtest/gtest.h>

namespace panel {
namespace {

// A picture wide enough that a row of tiles spans three 64-bit words.
constexpr QSize kPicture(700, 30);

TEST(OpaqueTiles, AnAreaIsCoveredOnlyWhenEveryTileItTouchesIs) {
    OpaqueTiles tiles(kPicture, 2);
    const QRect across(250, 5, 20, 6); // tile columns 62 to 67: two words of a row
    EXPECT_FALSE(tiles.covered(across));
    for (int y = 4; y < 12; y += 4) {
        for (int x = 248; x < 272; x += 4) {
            tiles.turnedOpaque(x, y);
        }
    }
    EXPECT_TRUE(tiles.covered(across));
    EXPECT_TRUE(tiles.opaqueAt(271, 11));
    EXPECT_FALSE(tiles.opaqueAt(272, 11));
    EXPECT_FALSE(tiles.covered(across.adjusted(0, 0, 3, 0))) << "one tile further right";
    EXPECT_FALSE(tiles.covered(across.adjusted(0, -2, 0, 0))) << "one tile further up";
}

TEST(OpaqueTiles, OnlyThePartInsideThePictureCounts) {
    OpaqueTiles pixels(kPicture, 0);
    EXPECT_TRUE(pixels.covered(QRect(-20, -20, 10, 10)));
    EXPECT_TRUE(pixels.covered(QRect(700, 0, 50, 30)));
    for (int x = 690; x < 700; ++x) {
        pixels.turnedOpaque(x, 29);
    }
    EXPECT_TRUE(pixels.covered(QRect(690, 29, 100, 100)));
    EXPECT_FALSE(pixels.covered(QRect(689, 29, 100, 100)));
    EXPECT_FALSE(pixels.covered(QRect(690, 28, 100, 100)));
}

TEST(OpaqueTiles, AWholeRowOfPixelsAcrossEveryWord) {
    OpaqueTiles pixels(kPicture, 0);
    const QRect row(0, 7, 700, 1);
    for (int x = 0; x < 700; ++x) {
        EXPECT_FALSE(pixels.covered(row)) << x;
        pixels.turnedOpaque(x, 7);
    }
    EXPECT_TRUE(pixels.covered(row));
    EXPECT_FALSE(pixels.covered(row.adjusted(0, 0, 0, 1)));
}

} // namespace
} // namespace panel
