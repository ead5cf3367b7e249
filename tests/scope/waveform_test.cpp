#include "core/waveform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace scope {
namespace {

TEST(WaveformTest, TwoOutputsShareABlockOfWholePeriodsOfEach) {
    std::array<OutputSetup, outputCount> outputs;
    outputs[0] = {true, Waveform::Sine, 1000.0, 2.0, 0.0, {}};
    outputs[1] = {true, Waveform::Square, 250.0, 1.0, 0.5, {}};
    const OutputBlock block = outputBlock(outputs, 100000.0, {});
    EXPECT_EQ(block.channels, "ao0:1");
    EXPECT_EQ(block.samplesPerChannel, 400); // 100 and 400 samples a period
    ASSERT_EQ(block.data.size(), 800U);
    EXPECT_NEAR(block.data[25], 2.0, 1e-12);     // ao0's first peak
    EXPECT_DOUBLE_EQ(block.data[400 + 10], 1.5); // ao1 high, then low
    EXPECT_DOUBLE_EQ(block.data[400 + 210], -0.5);
}

TEST(WaveformTest, AFileIsPlayedAsItIsAndLevelsStayWithinTheBoard) {
    const std::string path = testing::TempDir() + "scope_values.txt";
    {
        std::ofstream file(path);
        file << "# volts\n0.5\n-1.25\n\n12\n";
    }
    std::array<OutputSetup, outputCount> outputs;
    outputs[1] = {true, Waveform::File, 0.0, 0.0, 0.0, path};
    const std::array<std::vector<double>, outputCount> files = {{{}, readValuesFile(path)}};
    const OutputBlock block = outputBlock(outputs, 1000.0, files);
    EXPECT_EQ(block.channels, "ao1");
    EXPECT_EQ(block.data, (std::vector<double>{0.5, -1.25, 10.0}));
    std::ofstream(path) << "1\nnot a number\n";
    EXPECT_TRUE(readValuesFile(path).empty());
    std::remove(path.c_str());
    EXPECT_TRUE(outputBlock({}, 1000.0, {}).channels.empty());
}

} // namespace
} // namespace scope
