#include "logic/calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelbrin {
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

constexpr Calibration startCalibration = {0.0, 2.5, 5.0};
constexpr Calibration uneven = {1.0, 2.0, 4.0};
constexpr Calibration flatTop = {0.0, 2.5, 2.5};
constexpr Calibration flatBottom = {2.5, 2.5, 5.0};
constexpr Calibration onePoint = {1.0, 1.0, 1.0};

INSTANTIATE_TEST_SUITE_P(
    Cases, CalibratedPosition,
    ::testing::Values(PositionCase{"full positive", startCalibration, 5.0, 1.0},
                      PositionCase{"full negative", startCalibration, 0.0, -1.0},
                      PositionCase{"centre", startCalibration, 2.5, 0.0},
                      PositionCase{"half positive", startCalibration, 3.75, 0.5},
                      PositionCase{"half negative", startCalibration, 1.25, -0.5},
                      PositionCase{"beyond max is not clamped", startCalibration, 7.5, 2.0},
                      PositionCase{"beyond min is not clamped", startCalibration, -2.5, -2.0},
                      PositionCase{"upper slope", uneven, 3.0, 0.5},
                      PositionCase{"lower slope", uneven, 1.5, -0.5},
                      PositionCase{"flat top: centre", flatTop, 2.5, 0.0},
                      PositionCase{"flat top: above centre", flatTop, 3.0, 1.0},
                      PositionCase{"flat top: lower side still scales", flatTop, 1.25, -0.5},
                      PositionCase{"flat bottom: below centre", flatBottom, 1.0, -1.0},
                      PositionCase{"flat bottom: centre", flatBottom, 2.5, 0.0},
                      PositionCase{"flat bottom: upper side still scales", flatBottom, 5.0, 1.0},
                      PositionCase{"all three equal: above", onePoint, 9.0, 1.0},
                      PositionCase{"all three equal: below", onePoint, -9.0, -1.0},
                      PositionCase{"all three equal: at", onePoint, 1.0, 0.0}));

TEST(CalibratedPositionOfNonNumbers, NotANumberStaysNotANumberEvenOnAFlatSide) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(calibratedPosition(nan, startCalibration)));
    EXPECT_TRUE(std::isnan(calibratedPosition(nan, flatBottom)));
    EXPECT_TRUE(std::isnan(calibratedPosition(nan, onePoint)));
}

} // namespace
} // namespace zelbrin
