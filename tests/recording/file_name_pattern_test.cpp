// File names and start times in UTC to the microsecond.
#include "src/file_name_pattern.h"
#include "src/utc_time.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace recording;

TEST(RecordingTimes, IsoTextRoundsToTheMicrosecondAcrossDayAndYear) {
    EXPECT_EQ(isoUtc(0.0), "1970-01-01T00:00:00.000000Z");
    EXPECT_EQ(isoUtc(1709164800.5), "2024-02-29T00:00:00.500000Z");
    // Half a microsecond before the new year rounds into it.
    EXPECT_EQ(isoUtc(1735689599.9999996), "2025-01-01T00:00:00.000000Z");
    EXPECT_EQ(isoUtc(1735689599.999999), "2024-12-31T23:59:59.999999Z");
}

TEST(RecordingTimes, PatternFieldsAndLiterals) {
    EXPECT_EQ(fileName("run-%Y%m%dT%H%M%S.h5", 1714564800.25, 0), "run-20240501T120000.h5");
    EXPECT_EQ(fileName("%f_%n_%%.h5", 1714564800.25, 12), "250000_0012_%.h5");
    EXPECT_EQ(fileName("%n.h5", 0.0, 12345), "12345.h5");
}

TEST(RecordingTimes, UnknownOrUnfinishedFieldsAreRefused) {
    EXPECT_NO_THROW(checkFileNamePattern("a%Y%m%d%H%M%S%f%n%%.h5"));
    EXPECT_THROW(checkFileNamePattern(""), std::invalid_argument);
    EXPECT_THROW(checkFileNamePattern("run-%j.h5"), std::invalid_argument);
    EXPECT_THROW(checkFileNamePattern("run.h5%"), std::invalid_argument);
}

} // namespace
