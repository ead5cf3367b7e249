#include "core/scope_setup.h"

#include <gtest/gtest.h>

namespace scope {
namespace {

TEST(ScopeSetupTest, TheTimeBaseGoesFromOneMicrosecondToTenSecondsInOneTwoFiveSteps) {
    const std::vector<double> steps = timeBaseSteps();
    ASSERT_EQ(steps.size(), 22U);
    EXPECT_DOUBLE_EQ(steps.front(), 1e-6);
    EXPECT_NEAR(steps[1], 2e-6, 1e-18);
    EXPECT_NEAR(steps[2], 5e-6, 1e-18);
    EXPECT_NEAR(steps.back(), 10.0, 1e-9);
    EXPECT_NEAR(voltageSteps().front(), 1e-3, 1e-15);
    EXPECT_NEAR(voltageSteps().back(), 5.0, 1e-9);
}

TEST(ScopeSetupTest, ReadingsTakeTheUnitThatReadsBest) {
    EXPECT_EQ(withUnit(2e-3, "s"), "2 ms");
    EXPECT_EQ(withUnit(5e-7, "s"), "500 ns");
    EXPECT_EQ(withUnit(-0.05, "V"), "-50 mV");
    EXPECT_EQ(withUnit(1000.0, "Hz"), "1000 Hz");
    EXPECT_EQ(withUnit(1.41421, "V"), "1.414 V");
    EXPECT_EQ(withUnit(4.9e-19, "V"), "0 V"); // the mean of a sine, not a reading
}

TEST(ScopeSetupTest, OnlyTheFirstInputIsOnAtFirstAndEachHasItsOwnColour) {
    const ScopeSetup setup;
    EXPECT_EQ(setup.enabledInputs(), std::vector<int>{0});
    EXPECT_NE(setup.channels[0].colour, setup.channels[1].colour);
}

} // namespace
} // namespace scope
