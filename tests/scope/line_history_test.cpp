// The digital lines' levels kept as changes, read back per column and searched for edges.
#include "core/line_history.h"

#include <gtest/gtest.h>

namespace scope {
namespace {

constexpr int s1 = 12; // port1/line4
constexpr std::uint16_t port1Known = 0xFF00;
constexpr std::uint16_t s1Bit = 1u << s1;

// S1 high from sample 99, low from 249, high again from 399; port 1 unread at 549.
LineHistory pressedOnce() {
    LineHistory lines;
    lines.record(99, s1Bit, port1Known);
    lines.record(249, 0, port1Known);
    lines.record(399, s1Bit, port1Known);
    lines.record(549, 0, 0);
    return lines;
}

TEST(LineHistoryTest, KeepsOnlyChangesAndReadsTheLevelAtAnySample) {
    LineHistory lines = pressedOnce();
    lines.record(560, 0, 0); // no change: nothing kept
    EXPECT_EQ(lines.steps(s1), 4u);
    EXPECT_EQ(lines.stateAt(s1, 98), LineState::Unknown);
    EXPECT_EQ(lines.stateAt(s1, 99), LineState::High);
    EXPECT_EQ(lines.stateAt(s1, 248), LineState::High);
    EXPECT_EQ(lines.stateAt(s1, 249), LineState::Low);
    EXPECT_EQ(lines.stateAt(s1, 549), LineState::Unknown);
    // A line of port 0, never read.
    EXPECT_EQ(lines.stateAt(3, 300), LineState::Unknown);
    // A line of port 1 that stays low has its one step.
    EXPECT_EQ(lines.stateAt(s1 + 1, 300), LineState::Low);
    EXPECT_EQ(lines.steps(s1 + 1), 2u);
}

TEST(LineHistoryTest, AColumnSaysWhetherTheLevelMovedWithinIt) {
    const LineHistory lines = pressedOnce();
    const LineColumn quiet = lines.column(s1, 150.0, 240.0);
    EXPECT_EQ(quiet.first, LineState::High);
    EXPECT_EQ(quiet.last, LineState::High);
    EXPECT_FALSE(quiet.changed);
    const LineColumn step = lines.column(s1, 248.5, 249.5);
    EXPECT_EQ(step.first, LineState::High);
    EXPECT_EQ(step.last, LineState::Low);
    EXPECT_TRUE(step.changed);
    // Zoomed out: down and up again within one column.
    const LineColumn both = lines.column(s1, 200.0, 450.0);
    EXPECT_TRUE(both.changed);
    EXPECT_EQ(both.first, LineState::High);
    EXPECT_EQ(both.last, LineState::High);
    // A step on the bound between two columns is the later one's.
    EXPECT_FALSE(lines.column(s1, 240.0, 249.0).changed);
    const LineColumn starting = lines.column(s1, 249.0, 258.0);
    EXPECT_TRUE(starting.changed);
    EXPECT_EQ(starting.first, LineState::High);
}

TEST(LineHistoryTest, TheNewestEdgeOfASlopeWithinTheStretchAsked) {
    const LineHistory lines = pressedOnce();
    EXPECT_EQ(lines.newestEdge(s1, false, 0, 1000), 249.0);
    EXPECT_EQ(lines.newestEdge(s1, true, 0, 1000), 399.0);
    EXPECT_EQ(lines.newestEdge(s1, true, 0, 399), std::nullopt);
    EXPECT_EQ(lines.newestEdge(s1, false, 250, 1000), std::nullopt);
    // The first reading and the change to unknown are no edges.
    LineHistory risingFromUnknown;
    risingFromUnknown.record(10, s1Bit, port1Known);
    EXPECT_EQ(risingFromUnknown.newestEdge(s1, true, 0, 100), std::nullopt);
}

TEST(LineHistoryTest, DroppingOldSamplesKeepsTheLevelInForce) {
    LineHistory lines = pressedOnce();
    lines.dropBefore(300);
    EXPECT_EQ(lines.steps(s1), 3u);
    EXPECT_EQ(lines.stateAt(s1, 300), LineState::Low);
    EXPECT_EQ(lines.newestEdge(s1, true, 300, 1000), 399.0);
    lines.clear();
    EXPECT_EQ(lines.stateAt(s1, 400), LineState::Unknown);
}

} // namespace
} // namespace scope
