#include "graph/axis_ticks.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace panel {
namespace {

struct Range {
    double min;
    double max;
    double step; // expected distance between ticks
};

class RoundTicks : public ::testing::TestWithParam<Range> {};

TEST_P(RoundTicks, LieInsideTheRangeAtOneRoundStep) {
    const Range r = GetParam();
    const std::vector<AxisTick> ticks = axisTicks(r.min, r.max, 8);
    ASSERT_GE(ticks.size(), 2u);
    EXPECT_LE(ticks.size(), 9u);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_GE(ticks[i].value, r.min);
        EXPECT_LE(ticks[i].value, r.max);
        if (i > 0) {
            EXPECT_NEAR(ticks[i].value - ticks[i - 1].value, r.step, r.step * 1e-9);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, RoundTicks,
                         ::testing::Values(Range{-1.1, 1.1, 0.5}, Range{-0.1, 5.1, 1.0},
                                           Range{-10.1, 10.1, 5.0}, Range{0, 1, 0.2},
                                           Range{1e6, 2e6, 2e5}, Range{-3.1e-4, -0.9e-4, 5e-5}));

TEST(AxisTicks, ZeroIsLabelledPlainly) {
    for (const AxisTick &tick : axisTicks(-0.3, 0.3, 7)) {
        if (std::fabs(tick.value) < 1e-12) {
            EXPECT_EQ(tick.label, "0");
            return;
        }
    }
    FAIL() << "no tick at zero";
}

TEST(AxisTicks, InvalidOrDegenerateRangesGiveNoTicks) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(axisTicks(1, 1, 8).empty());
    EXPECT_TRUE(axisTicks(2, 1, 8).empty());
    EXPECT_TRUE(axisTicks(nan, 1, 8).empty());
    EXPECT_TRUE(axisTicks(0, inf, 8).empty());
    EXPECT_TRUE(axisTicks(-inf, inf, 8).empty());
    EXPECT_TRUE(axisTicks(0, 1, 1).empty());
}

TEST(AxisTicks, HugeEndsWithATinySpanEndQuickly) {
    // Here a step is far below the ends' precision; counting ticks must still end.
    EXPECT_LE(axisTicks(1e300, 1e300 * (1 + 1e-15), 8).size(), 17u);
    EXPECT_LE(axisTicks(-1.7e308, 1.7e308, 8).size(), 17u);
}

} // namespace
} // namespace panel
