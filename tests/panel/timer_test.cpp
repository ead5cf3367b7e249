// Timers: ticks at their interval from the event loop, and intervals the program sets.
#include "panel_fixture.h"
#include "support/panel_test_access.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

TEST_F(PanelTest, RunningTimerTicksFromTheEventLoop) {
    EXPECT_TRUE(panel_test::timerRunning(panel, RUNNING_TIMER));
    EXPECT_TRUE(QTest::qWaitFor([] { return eventLog().timerTicks >= 3; }, 5000));
}

TEST_F(PanelTest, StoppedTimerStaysQuietUntilTickedByHand) {
    EXPECT_FALSE(panel_test::timerRunning(panel, STOPPED_TIMER));
    ASSERT_EQ(SetCtrlAttribute(panel, STOPPED_TIMER, ATTR_INTERVAL, 0.001), 0);
    QTest::qWait(30);
    EXPECT_TRUE(eventLog().events.empty());
    EXPECT_TRUE(panel_test::fireTimerTick(panel, STOPPED_TIMER));
    EXPECT_EQ(eventLog().events,
              (std::vector<RecordedEvent>{{panel, STOPPED_TIMER, EVENT_TIMER_TICK}}));
}

TEST_F(PanelTest, FireTimerTickRefusesControlsThatAreNoTimers) {
    EXPECT_FALSE(panel_test::fireTimerTick(panel, BUTTON));
    EXPECT_FALSE(panel_test::fireTimerTick(panel, 99));
    EXPECT_TRUE(eventLog().events.empty());
}

TEST_F(PanelTest, IntervalComesFromTheFile) {
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panel, STOPPED_TIMER), 0.5);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panel, RUNNING_TIMER), 0.02);
}

TEST_F(PanelTest, NewIntervalIsTakenAsDoubleOrInt) {
    EXPECT_EQ(SetCtrlAttribute(panel, STOPPED_TIMER, ATTR_INTERVAL, 0.25), 0);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panel, STOPPED_TIMER), 0.25);
    EXPECT_EQ(SetCtrlAttribute(panel, STOPPED_TIMER, ATTR_INTERVAL, 2), 0);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panel, STOPPED_TIMER), 2.0);
}

TEST_F(PanelTest, ShorterIntervalTakesEffectOnARunningTimer) {
    ASSERT_EQ(SetCtrlAttribute(panel, RUNNING_TIMER, ATTR_INTERVAL, 1000.0), 0);
    eventLog().timerTicks = 0;
    QTest::qWait(50);
    EXPECT_EQ(eventLog().timerTicks, 0);
    ASSERT_EQ(SetCtrlAttribute(panel, RUNNING_TIMER, ATTR_INTERVAL, 0.01), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return eventLog().timerTicks >= 2; }, 5000));
    EXPECT_TRUE(panel_test::timerRunning(panel, RUNNING_TIMER));
}

class RefusedInterval : public PanelTest, public ::testing::WithParamInterface<double> {};

TEST_P(RefusedInterval, LeavesTheIntervalAsItWas) {
    EXPECT_EQ(SetCtrlAttribute(panel, RUNNING_TIMER, ATTR_INTERVAL, GetParam()),
              UI_ERROR_BAD_VALUE);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panel, RUNNING_TIMER), 0.02);
    EXPECT_TRUE(panel_test::timerRunning(panel, RUNNING_TIMER));
}

INSTANTIATE_TEST_SUITE_P(NotPositiveOrNotFinite, RefusedInterval,
                         ::testing::Values(0.0, -0.0, -0.1, -1e300, infinity, -infinity,
                                           std::numeric_limits<double>::quiet_NaN()));

TEST_F(PanelTest, ZeroIntAndNegativeIntIntervalsAreRefused) {
    EXPECT_EQ(SetCtrlAttribute(panel, STOPPED_TIMER, ATTR_INTERVAL, 0), UI_ERROR_BAD_VALUE);
    EXPECT_EQ(SetCtrlAttribute(panel, STOPPED_TIMER, ATTR_INTERVAL, -3), UI_ERROR_BAD_VALUE);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panel, STOPPED_TIMER), 0.5);
}

TEST_F(PanelTest, IntervalOnlyForTimersAndOnlyKnownAttributes) {
    EXPECT_EQ(SetCtrlAttribute(panel, FIELD, ATTR_INTERVAL, 1.0), UI_ERROR_WRONG_KIND);
    EXPECT_EQ(SetCtrlAttribute(panel, STOPPED_TIMER, 4242, 1.0), UI_ERROR_WRONG_KIND);
    EXPECT_EQ(SetCtrlAttribute(panel, 99, ATTR_INTERVAL, 1.0), UI_ERROR_BAD_CONTROL);
    EXPECT_EQ(SetCtrlAttribute(panel, STOPPED_TIMER, ATTR_INTERVAL,
                               static_cast<CtrlCallbackPtr>(nullptr)),
              UI_ERROR_WRONG_KIND);
}

TEST_F(PanelTest, VeryLongIntervalIsKeptWithoutOverflow) {
    EXPECT_EQ(SetCtrlAttribute(panel, RUNNING_TIMER, ATTR_INTERVAL, 1e300), 0);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panel, RUNNING_TIMER), 1e300);
    eventLog().timerTicks = 0;
    QTest::qWait(40);
    EXPECT_EQ(eventLog().timerTicks, 0);
}

} // namespace
