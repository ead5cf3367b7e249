// The trigger's crossing search and the sweeps that pick frames with it.
#include "core/frame_picker.h"
#include "core/trigger_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace scope {
namespace {

// Sampled half a sample late, so that no sample lies on a crossing of 0 V.
void appendSine(SampleHistory &history, long long count, double samplesPerPeriod) {
    std::vector<double> samples;
    for (long long n = history.total(); n < history.total() + count; ++n) {
        samples.push_back(std::sin(2.0 * std::numbers::pi * (double(n) + 0.5) / samplesPerPeriod));
    }
    history.append(samples.data(), count);
}

TEST(TriggerSearchTest, FindsTheNewestCrossingOfEitherSlopeBetweenSamples) {
    SampleHistory history(1, 100000);
    appendSine(history, 1000, 100.3);
    TriggerCondition rising{0, 0.5, true, 0.1};
    const std::optional<double> up = newestCrossing(history, rising, 0, history.total());
    ASSERT_TRUE(up);
    // sin rises through 0.5 at 1/12 of a period after each start of a period.
    const double expected = 9 * 100.3 + 100.3 / 12.0 - 0.5;
    EXPECT_NEAR(*up, expected, 0.01);
    TriggerCondition falling{0, 0.5, false, 0.1};
    const std::optional<double> down = newestCrossing(history, falling, 0, history.total());
    ASSERT_TRUE(down);
    EXPECT_NEAR(*down, 9 * 100.3 + 100.3 * 5.0 / 12.0 - 0.5, 0.01);
    // Candidates only up to "to": the crossing before.
    const std::optional<double> earlier =
        newestCrossing(history, rising, 0, static_cast<long long>(expected));
    ASSERT_TRUE(earlier);
    EXPECT_NEAR(*earlier, expected - 100.3, 0.01);
}

TEST(TriggerSearchTest, NoiseAroundTheLevelIsNoTriggerWithoutHavingGoneBelowTheHysteresis) {
    SampleHistory history(1, 10000);
    std::vector<double> samples = {-1.0, 0.2, -0.05, 0.1, -0.05, 0.1};
    history.append(samples.data(), static_cast<long long>(samples.size()));
    TriggerCondition condition{0, 0.0, true, 0.2};
    const std::optional<double> found = newestCrossing(history, condition, 0, history.total());
    ASSERT_TRUE(found);
    EXPECT_NEAR(*found, 1.0 - 0.2 / 1.2, 1e-6); // the crossing after -1 V, not the wiggles
    const std::optional<double> later = newestCrossing(history, condition, 2, history.total());
    EXPECT_FALSE(later);
    condition.level = 5.0;
    EXPECT_FALSE(newestCrossing(history, condition, 0, history.total()));
}

FrameRequest request(SweepMode mode, double level = 0.0) {
    FrameRequest r;
    r.mode = mode;
    r.span = 500.0;
    r.preTrigger = 0.25;
    r.condition = {0, level, true, 0.05};
    r.autoAfter = 1000;
    return r;
}

TEST(FramePickerTest, RollShowsTheNewestAndATriggerSitsAtThePreTriggerPoint) {
    SampleHistory history(1, 100000);
    appendSine(history, 3000, 100.0);
    FramePicker picker;
    const Frame roll = picker.next(history, request(SweepMode::Roll));
    EXPECT_DOUBLE_EQ(roll.start, 2500.0);
    EXPECT_EQ(roll.status, FrameStatus::Rolling);

    const Frame triggered = picker.next(history, request(SweepMode::Auto));
    ASSERT_EQ(triggered.status, FrameStatus::Triggered);
    ASSERT_TRUE(triggered.trigger);
    EXPECT_DOUBLE_EQ(*triggered.trigger - triggered.start, 125.0);
    // The newest trigger that leaves the rest of the screen in the history.
    EXPECT_LE(triggered.start + triggered.span, 3000.0);
    EXPECT_GT(triggered.start + triggered.span, 3000.0 - 100.0);
    EXPECT_NEAR(std::fmod(*triggered.trigger + 0.5, 100.0), 0.0, 1e-6);
}

TEST(FramePickerTest, NormalWithoutATriggerWaitsAndAutoRunsFree) {
    SampleHistory history(1, 100000);
    appendSine(history, 3000, 100.0);
    FramePicker normal;
    const Frame waiting = normal.next(history, request(SweepMode::Normal, 5.0));
    EXPECT_EQ(waiting.status, FrameStatus::Waiting);
    EXPECT_TRUE(waiting.empty);

    FramePicker automatic;
    const Frame free = automatic.next(history, request(SweepMode::Auto, 5.0));
    EXPECT_EQ(free.status, FrameStatus::Free);
    EXPECT_FALSE(free.empty);
    EXPECT_DOUBLE_EQ(free.start, 2500.0);
}

TEST(FramePickerTest, SingleHoldsItsFrameUntilReArmed) {
    SampleHistory history(1, 100000);
    appendSine(history, 1000, 100.0);
    FramePicker picker;
    const Frame held = picker.next(history, request(SweepMode::Single));
    ASSERT_EQ(held.status, FrameStatus::Held);
    appendSine(history, 1000, 100.0);
    EXPECT_DOUBLE_EQ(picker.next(history, request(SweepMode::Single)).start, held.start);

    picker.arm(history.total());
    EXPECT_EQ(picker.next(history, request(SweepMode::Single)).status, FrameStatus::Waiting);
    appendSine(history, 1000, 100.0);
    const Frame next = picker.next(history, request(SweepMode::Single));
    EXPECT_EQ(next.status, FrameStatus::Held);
    EXPECT_GT(*next.trigger, 2000.0);
}

} // namespace
} // namespace scope
