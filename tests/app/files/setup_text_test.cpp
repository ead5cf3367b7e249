// The text of setup files: what is saved reads back the same, files written by QSettings
// or edited by hand read, and text that is not a setup file is refused by line or key.
#include "setup/setup_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Values no panel file has, with fractions that a short number text would round.
constexpr Setup unusual = {{0.1, 2.3456789012345678, 4.9},
                           {-9.75, 0.0, 9.75},
                           0.33,
                           0.01,
                           2,
                           false,
                           true,
                           true,
                           {-1e6, 1e-7},
                           {-0.5, 123456.789}};

void expectSame(const Setup &a, const Setup &b) {
    for (const auto &[left, right] : {std::pair{a.x, b.x}, std::pair{a.y, b.y}}) {
        EXPECT_EQ(left.min, right.min);
        EXPECT_EQ(left.mid, right.mid);
        EXPECT_EQ(left.max, right.max);
    }
    EXPECT_EQ(a.refreshSeconds, b.refreshSeconds);
    EXPECT_EQ(a.sampleSeconds, b.sampleSeconds);
    EXPECT_EQ(a.plotMode, b.plotMode);
    EXPECT_EQ(a.showRaw, b.showRaw);
    EXPECT_EQ(a.showCalibrated, b.showCalibrated);
    EXPECT_EQ(a.swap, b.swap);
    EXPECT_EQ(a.xAxis.min, b.xAxis.min);
    EXPECT_EQ(a.xAxis.max, b.xAxis.max);
    EXPECT_EQ(a.yAxis.min, b.yAxis.min);
    EXPECT_EQ(a.yAxis.max, b.yAxis.max);
}

// Outside the tests' bodies, where gtest's fixture has a member of the same name.
Setup readOrFail(const std::string &text) {
    const auto read = readSetupText(text);
    if (const auto *refusal = std::get_if<SetupRefusal>(&read)) {
        ADD_FAILURE() << "refused: key '" << refusal->key << "': " << refusal->why;
        return {};
    }
    return std::get<Setup>(read);
}

TEST(SetupText, ASavedSetupReadsBackExactlyAndIsLaidOutAsQSettingsLaysItOut) {
    const std::string text = setupText(unusual);
    EXPECT_THAT(text, StartsWith("[General]\nformat=zelbrin-setup-1\n\n[axes]\n"));
    EXPECT_THAT(text, HasSubstr("\n[plot]\ncalibrated=true\nmode=2\nraw=false\nswap=true\n"));
    expectSame(readOrFail(text), unusual);
}

TEST(SetupText, AFileEditedByHandReadsWithCommentsBlanksAndWindowsLineEnds) {
    const std::string text = "; stand 4, after the new joystick\r\n"
                             "format = zelbrin-setup-1\r\n"
                             "\r\n"
                             "[ calibration ]\r\n"
                             "# centre measured twice\r\n"
                             "xMin=0.1\r\n xMid =2.3456789012345678\r\nxMax=4.9\r\n"
                             "yMin=-9.75\r\nyMid=0\r\nyMax=9.75\r\n"
                             "[intervals]\r\nrefresh=0.33\r\nsample=0.01\r\n"
                             "[plot]\r\nmode=2\r\nraw=false\r\ncalibrated=true\r\nswap=true\r\n"
                             "[axes]\r\nxMin=-1e6\r\nxMax=1e-7\r\nyMin=-0.5\r\nyMax=123456.789";
    expectSame(readOrFail(text), unusual);
}

// The plot mode is converted to int: a value beyond int's range must be refused before
// it is (found by the fuzz target, under the undefined-behaviour sanitizer).
TEST(SetupText, APlotModeBeyondTheRangeOfIntIsRefusedLikeAnyOtherOutOfRange) {
    std::string text = setupText(unusual);
    text.replace(text.find("mode=2"), 6, "mode=1e30");
    const auto read = readSetupText(text);
    const auto *refusal = std::get_if<SetupRefusal>(&read);
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->key, "plot/mode");
    EXPECT_EQ(refusal->why, "1e30 is outside 0 to 2");
}

struct RefusedText {
    const char *name;
    const char *text;
    const char *key;
    const char *why;
};

void PrintTo(const RefusedText &r, std::ostream *out) {
    *out << r.name;
}

class RefusedSetupText : public ::testing::TestWithParam<RefusedText> {};

TEST_P(RefusedSetupText, NamesTheKeyAndWhatIsWrong) {
    const RefusedText &r = GetParam();
    const std::string text = setupText(unusual) + r.text;
    const auto read = readSetupText(text);
    const auto *refusal = std::get_if<SetupRefusal>(&read);
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->key, r.key);
    EXPECT_THAT(refusal->why, HasSubstr(r.why));
}

// Each after the whole text of a good setup, which has 26 lines.
INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedSetupText,
    ::testing::Values(
        RefusedText{"LineWithoutEquals", "just some words\n", "format", "line 27 is neither"},
        RefusedText{"UnclosedGroup", "[plot\nswap=true\n", "format", "line 27 is neither"},
        RefusedText{"KeyWithoutName", "=5\n", "format", "line 27 is neither"},
        RefusedText{"KeyGivenTwice", "[intervals]\nsample=10\n", "intervals/sample", "twice"},
        RefusedText{"GeneralKeyGivenTwice", "[General]\nformat=zelbrin-setup-1\n", "format",
                    "twice"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace zelbrin
