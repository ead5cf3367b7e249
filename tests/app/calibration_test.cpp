#include "calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct PositionCase {
    const char *what;
    Calibration cal;
    double volts;
    double position;
};

void PrintTo(const PositionCase &c, std::ostream *out) {
    *out << c.what;
}

class CalibratedPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(CalibratedPosition, MapsEachSideWithItsOwnSlope) {
    const PositionCase &c = GetParam();
    EXPECT_DOUBLE_EQ(calibratedPosition(c.volts, c.cal), c.position) << c.what;
}

constexpr Calibration START = {0.0, 2.5, 5.0};
constexpr Calibration UNEVEN = {1.0, 2.0, 4.0};
constexpr Calibration FLAT_TOP = {0.0, 2.5, 2.5};
constexpr Calibration FLAT_BOTTOM = {2.5, 2.5, 5.0};
constexpr Calibration POINT = {1.0, 1.0, 1.0};

INSTANTIATE_TEST_SUITE_P(
    Cases, CalibratedPosition,
    ::testing::Values(PositionCase{"full positive", START, 5.0, 1.0},
                      PositionCase{"full negative", START, 0.0, -1.0},
                      PositionCase{"centre", START, 2.5, 0.0},
                      PositionCase{"half positive", START, 3.75, 0.5},
                      PositionCase{"half negative", START, 1.25, -0.5},
                      PositionCase{"beyond max is not clamped", START, 7.5, 2.0},
                      PositionCase{"beyond min is not clamped", START, -2.5, -2.0},
                      PositionCase{"upper slope", UNEVEN, 3.0, 0.5},
                      PositionCase{"lower slope", UNEVEN, 1.5, -0.5},
                      PositionCase{"flat top: centre", FLAT_TOP, 2.5, 0.0},
                      PositionCase{"flat top: above centre", FLAT_TOP, 3.0, 1.0},
                      PositionCase{"flat top: lower side still scales", FLAT_TOP, 1.25, -0.5},
                      PositionCase{"flat bottom: below centre", FLAT_BOTTOM, 1.0, -1.0},
                      PositionCase{"flat bottom: centre", FLAT_BOTTOM, 2.5, 0.0},
                      PositionCase{"flat bottom: upper side still scales", FLAT_BOTTOM, 5.0, 1.0},
                      PositionCase{"all three equal: above", POINT, 9.0, 1.0},
                      PositionCase{"all three equal: below", POINT, -9.0, -1.0},
                      PositionCase{"all three equal: at", POINT, 1.0, 0.0}));

TEST(CalibratedPositionOfNonNumbers, NotANumberStaysNotANumberEvenOnAFlatSide) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(calibratedPosition(nan, START)));
    EXPECT_TRUE(std::isnan(calibratedPosition(nan, FLAT_BOTTOM)));
    EXPECT_TRUE(std::isnan(calibratedPosition(nan, POINT)));
}

} // namespace
