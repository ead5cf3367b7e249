#include "logic/library_status.h"
#include "logic/port_lines.h"

#include <gtest/gtest.h>

#include <bitset>

namespace zelbrin {
namespace {

constexpr int someDriverFailure = -200279;
constexpr int someDriverWarning = 200010;

struct ReadOf {
    int port;
    int status;
    std::uint8_t value;
};

struct ReadCase {
    const char *what;
    PortLines before;
    ReadOf read;
    PortLines after;
};

void PrintTo(const ReadCase &c, std::ostream *out) {
    *out << c.what;
}

class PortRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(PortRead, ReplacesOnlyThatPortsByteAndOnlyWhenSomethingWasRead) {
    const ReadCase &c = GetParam();
    const PortLines after = afterPortRead(c.before, c.read.port, c.read.status, c.read.value);
    EXPECT_EQ(std::bitset<16>(after.bits), std::bitset<16>(c.after.bits)) << c.what;
    EXPECT_EQ(after.known, c.after.known) << c.what;
}

constexpr std::array<bool, panelPorts> noPort = {false, false};
constexpr std::array<bool, panelPorts> port0Only = {true, false};
constexpr std::array<bool, panelPorts> port1Only = {false, true};
constexpr std::array<bool, panelPorts> bothPorts = {true, true};

INSTANTIATE_TEST_SUITE_P(Reads, PortRead,
                         ::testing::Values(ReadCase{"port 1 into the high byte",
                                                    {0x1234, port0Only},
                                                    {1, 0, 0xAB},
                                                    {0xAB34, bothPorts}},
                                           ReadCase{"port 0 into the low byte",
                                                    {0x1234, port1Only},
                                                    {0, 0, 0xAB},
                                                    {0x12AB, bothPorts}},
                                           ReadCase{"a driver warning still read the port",
                                                    {0x0000, noPort},
                                                    {0, someDriverWarning, 0x81},
                                                    {0x0081, port0Only}},
                                           ReadCase{"a failed read keeps the last known byte",
                                                    {0x0204, bothPorts},
                                                    {1, someDriverFailure, 0x00},
                                                    {0x0204, port0Only}},
                                           ReadCase{"a port not set up read nothing",
                                                    {0x0204, bothPorts},
                                                    {0, statusNoDriverCall, 0xFF},
                                                    {0x0204, port1Only}}));

TEST(LinePress, FlipsTheLineThatWasReadAndASecondPressRestoresIt) {
    const LinePress first = pressLine(0x0000, 9, 1);
    EXPECT_EQ(first.drive, 0x0200);
    EXPECT_EQ(portByte(first.drive, 0), 0x00);
    EXPECT_EQ(portByte(first.drive, 1), 0x02);
    EXPECT_EQ(pressLine(first.drive, 9, 1).drive, 0x0000);
    EXPECT_EQ(pressLine(0xFFFF, 15, 1).drive, 0x7FFF);
}

TEST(LinePress, AButtonThatIsNoLinesDrivesWhatWasReadUnchanged) {
    for (int notALine : {-1, 16, 99}) {
        const LinePress press = pressLine(0x0208, notALine, 0);
        EXPECT_EQ(press.drive, 0x0208) << notALine;
        EXPECT_FALSE(press.keptForLater) << notALine;
    }
}

TEST(LinePress, IsKeptForLaterOnlyInInputMode) {
    EXPECT_TRUE(pressLine(0x0000, 3, 0).keptForLater);
    EXPECT_FALSE(pressLine(0x0000, 3, 1).keptForLater);
    EXPECT_FALSE(pressLine(0x0000, 3, 2).keptForLater);
    EXPECT_EQ(keptLineNote(9, 0x0200).rfind("P1.1 = 1 is kept for later", 0), 0u);
    EXPECT_EQ(keptLineNote(7, 0x0200).rfind("P0.7 = 0 is kept for later", 0), 0u);
}

TEST(DirectionMask, InputsOutputsOrNothingForAnyOtherMode) {
    EXPECT_EQ(directionMask(0), std::optional<std::uint8_t>(0x00));
    EXPECT_EQ(directionMask(1), std::optional<std::uint8_t>(0xFF));
    EXPECT_EQ(directionMask(2), std::nullopt);
    EXPECT_EQ(directionMask(-1), std::nullopt);
}

std::vector<int> lineValues(const PanelIndicators &shown) {
    std::vector<int> values;
    for (const Indicator &line : shown.lines) {
        values.push_back(line.value);
    }
    return values;
}

std::bitset<4> litSwitches(const PanelIndicators &shown) {
    std::bitset<4> lit;
    for (int s = 0; s < switchIndicators; ++s) {
        lit[s] = shown.switches[s].value != 0;
    }
    return lit;
}

TEST(Indicators, LinesShowTheirBitAndSwitchesShowTheUpperLinesOfPort1Inverted) {
    const PanelIndicators high = indicatorsFor({0xF000, bothPorts});
    const std::vector<int> expected = {0, 0, 0, 0, 0,    0,    0,     0,
                                       0, 0, 0, 0, 4096, 8192, 16384, 32768};
    EXPECT_EQ(lineValues(high), expected);
    EXPECT_EQ(litSwitches(high), std::bitset<4>(0b0000));

    const PanelIndicators low = indicatorsFor({0x0000, bothPorts});
    EXPECT_EQ(lineValues(low), std::vector<int>(panelLines, 0));
    EXPECT_EQ(litSwitches(low), std::bitset<4>(0b1111));

    // S2 and S4 down: lines 13 and 15 low.
    EXPECT_EQ(litSwitches(indicatorsFor({0x5FFF, bothPorts})), std::bitset<4>(0b1010));
}

TEST(Indicators, APortThatReadNothingShowsItsLinesAndSwitchesUnknown) {
    const PanelIndicators shown = indicatorsFor({0x00FF, port0Only});
    for (int i = 0; i < panelLines; ++i) {
        EXPECT_EQ(shown.lines[i].known, i < linesPerPort) << "line " << i;
    }
    for (const Indicator &sw : shown.switches) {
        EXPECT_FALSE(sw.known);
    }
    EXPECT_TRUE(indicatorsFor({0x0000, port1Only}).switches[0].known);
}

} // namespace
} // namespace zelbrin
