// The recorder's reads: short while they wait for the board, growing while the samples
// are there already, and short again once it has caught up.
#include "record/read_pace.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadPaceTest, GrowsWhileSamplesWaitAndShrinksOnceCaughtUp) {
    orvex_cli::ReadPace pace(10, 100);
    EXPECT_EQ(pace.scans(), 10u);
    pace.read(0.1, 0.1); // waited for the whole block: caught up
    EXPECT_EQ(pace.scans(), 10u);
    pace.read(0.0, 0.1);
    EXPECT_EQ(pace.scans(), 20u);
    pace.read(0.001, 0.2);
    pace.read(0.001, 0.4);
    pace.read(0.001, 0.8);
    EXPECT_EQ(pace.scans(), 100u);
    pace.read(0.6, 1.0); // more than half of it waited for
    EXPECT_EQ(pace.scans(), 10u);
}

TEST(ReadPaceTest, NeverAsksForLessThanOneScanOrLessThanTheShortest) {
    EXPECT_EQ(orvex_cli::ReadPace(0, 0).scans(), 1u);
    orvex_cli::ReadPace pace(50, 10);
    pace.read(0.0, 1.0);
    EXPECT_EQ(pace.scans(), 50u);
}

} // namespace
