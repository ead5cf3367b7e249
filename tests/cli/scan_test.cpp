// Scans of channel lists, in virtual time: a column per channel with its range in the
// header, interleaved raw scans described by --header, a slope, and a generation started
// in step with the scan from a script.
#include "tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

using testing::AllOf;
using testing::Contains;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

struct Table {
    std::vector<std::string> header; // the '#' lines
    std::string columns;
    std::vector<std::vector<double>> byChannel;
    bool numbered = true;
};

Table parseTable(const std::string &text) {
    Table table;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && line.starts_with("#")) {
        table.header.push_back(line);
    }
    table.columns = line;
    const auto channels = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
    table.byChannel.resize(channels);
    for (std::size_t row = 0; std::getline(lines, line); ++row) {
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, ',');
        table.numbered = table.numbered && std::stoull(field) == row;
        for (std::size_t k = 0; k < channels; ++k) {
            std::getline(fields, field, ',');
            table.byChannel[k].push_back(std::stod(field));
        }
        table.numbered = table.numbered && !std::getline(fields, field, ',');
    }
    return table;
}

std::vector<float> parseFloats(const std::string &bytes) {
    EXPECT_EQ(bytes.size() % sizeof(float), 0u);
    std::vector<float> values(bytes.size() / sizeof(float));
    std::memcpy(values.data(), bytes.data(), values.size() * sizeof(float));
    return values;
}

double amplitude(const std::vector<double> &volts) {
    const auto [low, high] = std::minmax_element(volts.begin(), volts.end());
    return (*high - *low) / 2.0;
}

ToolResult runScript(const std::string &script) {
    return runTool({"--bench", virtualBench(), "run", "-"}, script);
}

// ao0 (a sine) is wired to ai0, ai5 holds the bench's 1.25 V, ai7 and ai9 read 0 V.
TEST(Scan, AChannelListGivesAColumnPerChannelWithItsRange) {
    ScratchFolder folder;
    const ToolResult result =
        runScript("ao generate 0 --rate 10000 --sine 50,2\n"
                  "ai acquire ai0,ai5,ai7,ai9 --rate 10000 --samples 1000 --range ai5=1.5 "
                  "--range ai7=0.1 --terminal ai7=diff -o " +
                  folder.file("scan.csv") + "\n");
    ASSERT_EQ(result.status, 0) << result.err;
    const Table table = parseTable(readFile(folder.file("scan.csv")));
    EXPECT_EQ(table.columns, "sample,ai0 ±10 V rse,ai5 ±2 V rse,ai7 ±0.1 V diff,ai9 ±10 V rse");
    ASSERT_EQ(table.byChannel.size(), 4u);
    ASSERT_EQ(table.byChannel[0].size(), 1000u);
    EXPECT_TRUE(table.numbered);
    EXPECT_NEAR(amplitude(table.byChannel[0]), 2.0, 0.02);
    for (const double volts : table.byChannel[1]) {
        EXPECT_NEAR(volts, 1.25, 1e-3);
    }
    for (const std::size_t quiet : {2u, 3u}) {
        EXPECT_LT(amplitude(table.byChannel[quiet]), 0.01) << quiet;
    }
    EXPECT_THAT(table.header,
                testing::IsSupersetOf({"# channel: ai0 (PXI1Slot2/ai0), ±10 V, rse",
                                       "# channel: ai5 (PXI1Slot2/ai5), ±2 V, rse",
                                       "# channel: ai7 (PXI1Slot2/ai7), ±0.1 V, diff against ai15",
                                       "# rate: 10000 S/s per channel", "# interval: 0.0001 s",
                                       "# units: V", "# slot: 2"}));
    EXPECT_THAT(table.header, Contains(StartsWith("# channel step: ")));
    // UTC to the microsecond, with how it was taken.
    EXPECT_THAT(table.header, Contains(AllOf(StartsWith("# start: 20"), HasSubstr("Z (±"),
                                             HasSubstr("at the scan's start)"))));
}

TEST(Scan, RawScansAreInterleavedAndDescribed) {
    ScratchFolder folder;
    const ToolResult result =
        runScript("ao generate 0 --rate 10000 --sine 50,2\n"
                  "ai acquire ai5,ai0 --rate 10000 --samples 1000 --format f32 -o " +
                  folder.file("scan.f32") + " --header " + folder.file("scan.txt") + "\n");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<float> values = parseFloats(readFile(folder.file("scan.f32")));
    ASSERT_EQ(values.size(), 2000u);
    std::vector<double> ai0;
    for (std::size_t scan = 0; scan < 1000; ++scan) {
        EXPECT_NEAR(values[2 * scan], 1.25, 1e-3) << scan;
        ai0.push_back(values[2 * scan + 1]);
    }
    EXPECT_NEAR(amplitude(ai0), 2.0, 0.02);
    EXPECT_THAT(readFile(folder.file("scan.txt")),
                AllOf(HasSubstr("channel: ai5 (PXI1Slot2/ai5), ±10 V, rse\n"
                                "channel: ai0 (PXI1Slot2/ai0), ±10 V, rse\n"),
                      HasSubstr("rate: 10000 S/s per channel\n"), HasSubstr("start: 20"),
                      HasSubstr("format: f32"),
                      HasSubstr("layout: interleaved by scan, 2 channels in the order above\n"),
                      HasSubstr("samples per channel: 1000\n")));
}

TEST(Scan, AFallingSlopeStartsTheScanOnTheWayDown) {
    const ToolResult result = runScript("ao generate 0 --rate 10000 --sine 50,2\n"
                                        "ai acquire ai0,ai5 --rate 10000 --samples 100 "
                                        "--trigger ai0 --level 1 --slope falling\n");
    ASSERT_EQ(result.status, 0) << result.err;
    const Table table = parseTable(result.out);
    ASSERT_EQ(table.byChannel.size(), 2u);
    ASSERT_EQ(table.byChannel[0].size(), 100u);
    // One sample step of a 2 V, 50 Hz sine at 10 kHz is at most 63 mV.
    EXPECT_LE(table.byChannel[0][0], 1.0 + 1e-6);
    EXPECT_GT(table.byChannel[0][0], 1.0 - 0.063);
    EXPECT_LT(table.byChannel[0][1], table.byChannel[0][0]);
    EXPECT_THAT(table.header, Contains("# trigger: PXI1Slot2/ai0 falling through 1 V"));
}

// The step of a wave file on ao0, started by the scan's start on its clock, is read on ai0
// at the scan where it is written, in every run.
TEST(Scan, AScriptStartsAGenerationInStepWithTheScan) {
    ScratchFolder folder;
    std::string wave;
    for (int k = 0; k < 400; ++k) {
        wave += k < 200 ? "0\n" : "1\n";
    }
    writeFile(folder.file("step.txt"), wave);
    std::vector<std::size_t> stepAt;
    for (int run = 0; run < 3; ++run) {
        const ToolResult result = runScript("ao generate ao0 --file " + folder.file("step.txt") +
                                            " --in-step --share-clock\n"
                                            "ai acquire ai0,ai1 --rate 10000 --samples 300\n");
        ASSERT_EQ(result.status, 0) << result.err;
        const Table table = parseTable(result.out);
        ASSERT_EQ(table.byChannel.size(), 2u);
        const std::vector<double> &ai0 = table.byChannel[0];
        stepAt.push_back(static_cast<std::size_t>(
            std::find_if(ai0.begin(), ai0.end(), [](double v) { return v > 0.5; }) - ai0.begin()));
        EXPECT_THAT(table.header, Contains(HasSubstr(
                                      "# in step: ao0 file " + folder.file("step.txt") +
                                      " on the scan's sample clock, started by the scan's start")));
    }
    EXPECT_THAT(stepAt, testing::Each(200u));
}

TEST(Scan, AnInStepGenerationGoesWithOneAcquisitionOnly) {
    const ToolResult result = runScript("ao generate 1 --rate 10000 --sine 100,1 --in-step\n"
                                        "ai acquire ai1 --rate 10000 --samples 10 -o -\n"
                                        "ai acquire ai1 --rate 10000 --samples 10 -o -\n");
    ASSERT_EQ(result.status, 0) << result.err;
    const auto first = result.out.find("# in step: ao1 sine 100,1 on its own clock at 10000 S/s");
    EXPECT_NE(first, std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("# in step", first + 1), std::string::npos) << result.out;
}

} // namespace
