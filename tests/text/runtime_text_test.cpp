// The runtime's text operations the library builds names and messages with.
#include "uiruntime/runtime_text.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(Fmt, FillsTextAndNumbers) {
    std::array<char, 64> buffer{};
    EXPECT_EQ(Fmt(buffer.data(), buffer.size(), "%sPXI1Slot%i/port%i", ",", 12, -3), 18);
    EXPECT_STREQ(buffer.data(), ",PXI1Slot12/port-3");
}

TEST(Fmt, CutsToTheBufferAndSaysSo) {
    struct Case {
        std::size_t size;
        const char *expected;
    };
    for (const Case &c : {Case{5, "abcd"}, Case{1, ""}, Case{7, "abcdef"}}) {
        std::array<char, 16> buffer;
        buffer.fill('#');
        EXPECT_EQ(Fmt(buffer.data(), c.size, "%s%i", "abcdef", 42), -1) << c.size;
        EXPECT_STREQ(buffer.data(), c.expected);
        EXPECT_EQ(buffer[c.size], '#') << "wrote past " << c.size;
    }
}

TEST(Fmt, ExactFitIsNotACut) {
    std::array<char, 8> buffer{};
    EXPECT_EQ(Fmt(buffer.data(), buffer.size(), "%s", "1234567"), 7);
    EXPECT_STREQ(buffer.data(), "1234567");
}

TEST(Fmt, NoBufferWritesNothing) {
    char untouched = '#';
    EXPECT_EQ(Fmt(&untouched, 0, "%s", "x"), -1);
    EXPECT_EQ(untouched, '#');
    EXPECT_EQ(Fmt(nullptr, 10, "%s", "x"), -1);
}

TEST(CompareStrings, IgnoresCaseUnlessAsked) {
    EXPECT_EQ(CompareStrings("OnboardClock", 0, "onboardclock", 0, 0), 0);
    EXPECT_NE(CompareStrings("OnboardClock", 0, "onboardclock", 0, 1), 0);
    EXPECT_EQ(CompareStrings("", 0, "", 0, 0), 0);
}

TEST(CompareStrings, OrdersLikeStrcmpFromTheStartPositions) {
    EXPECT_LT(CompareStrings("abc", 0, "abd", 0, 0), 0);
    EXPECT_GT(CompareStrings("abd", 0, "ABC", 0, 0), 0);
    EXPECT_LT(CompareStrings("", 0, "x", 0, 0), 0); // a prefix comes first
    EXPECT_GT(CompareStrings("x", 0, "", 0, 0), 0);
    EXPECT_EQ(CompareStrings("xxPFI0", 2, "pfi0", 0, 0), 0);
}

} // namespace
