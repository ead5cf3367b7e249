#include "core/measurements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace scope {
namespace {

constexpr double rate = 100000.0;

std::vector<float> sine(double frequency, double amplitude, double seconds, double phase = 0.3) {
    std::vector<float> samples;
    for (long long n = 0; n < std::llround(seconds * rate); ++n) {
        samples.push_back(static_cast<float>(
            amplitude * std::sin(2.0 * std::numbers::pi * frequency * double(n) / rate + phase)));
    }
    return samples;
}

TEST(MeasurementsTest, AOneKilohertzSineOfTwoVoltsReadsItsPeriodAndRms) {
    const Measurements m = measure(sine(1000.0, 2.0, 0.0105), 1.0 / rate);
    EXPECT_NEAR(1.0 / m.frequency, 1.000e-3, 0.0005e-3);
    EXPECT_NEAR(m.frequency, 1000.0, 5.0);
    EXPECT_NEAR(m.rms, 2.0 / std::sqrt(2.0), 0.01 * 1.414);
    EXPECT_NEAR(m.min, -2.0, 1e-3);
    EXPECT_NEAR(m.max, 2.0, 1e-3);
    EXPECT_NEAR(m.peakToPeak, 4.0, 2e-3);
}

TEST(MeasurementsTest, AFrequencyBetweenSamplesIsPlacedBetweenThem) {
    // 70 samples and a fraction per period: crossings fall anywhere between two samples.
    const Measurements m = measure(sine(1428.0, 1.0, 0.05), 1.0 / rate);
    EXPECT_NEAR(m.frequency, 1428.0, 1428.0 * 1e-4);
}

TEST(MeasurementsTest, NoiseOnASlowEdgeCountsAsOnePeriod) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-0.02, 0.02);
    std::vector<float> samples = sine(50.0, 1.0, 0.1);
    for (float &sample : samples) {
        sample += static_cast<float>(noise(random));
    }
    const Measurements m = measure(samples, 1.0 / rate);
    EXPECT_NEAR(m.frequency, 50.0, 0.5);
}

TEST(MeasurementsTest, ASquareWaveAndALevelAndNothing) {
    std::vector<float> square;
    for (int n = 0; n < 1000; ++n) {
        square.push_back(n % 100 < 50 ? 3.0F : -1.0F);
    }
    const Measurements m = measure(square, 1e-3);
    EXPECT_DOUBLE_EQ(m.mean, 1.0);
    EXPECT_DOUBLE_EQ(m.rms, std::sqrt(5.0));
    EXPECT_NEAR(m.frequency, 10.0, 1e-9);

    const Measurements level = measure(std::vector<float>(100, 2.5F), 1e-3);
    EXPECT_DOUBLE_EQ(level.peakToPeak, 0.0);
    EXPECT_TRUE(std::isnan(level.frequency));

    const Measurements none = measure({}, 1e-3);
    EXPECT_EQ(none.samples, 0U);
    EXPECT_TRUE(std::isnan(none.mean) && std::isnan(none.rms) && std::isnan(none.min));
}

} // namespace
} // namespace scope
