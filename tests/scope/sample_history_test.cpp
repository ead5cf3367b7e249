#include "core/sample_history.h"
#include "core/stretch_measurements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace scope {
namespace {

std::vector<double> scans(int channels, long long count, std::mt19937 &random) {
    std::uniform_real_distribution<double> value(-10.0, 10.0);
    std::vector<double> out;
    for (long long n = 0; n < count * channels; ++n) {
        out.push_back(value(random));
    }
    return out;
}

MinMax minMaxOf(const std::vector<double> &all, int channels, int channel, long long from,
                long long to) {
    MinMax result{1e9F, -1e9F};
    for (long long index = from; index < to; ++index) {
        const auto value =
            static_cast<float>(all[static_cast<std::size_t>(index * channels + channel)]);
        result.min = std::min(result.min, value);
        result.max = std::max(result.max, value);
    }
    return result;
}

TEST(SampleHistoryTest, StaysWithinItsBoundAndDropsTheOldestFirst) {
    SampleHistory history(3, 30000);
    EXPECT_LE(history.capacity() * 3, 30000);
    EXPECT_GE(history.capacity() * 4, 30000); // rounding to whole blocks loses less than a quarter
    std::vector<double> all;
    std::mt19937 random(1);
    for (int block = 0; block < 40; ++block) {
        const std::vector<double> part = scans(3, 997, random);
        history.append(part.data(), 997);
        all.insert(all.end(), part.begin(), part.end());
    }
    const long long total = 40 * 997;
    EXPECT_EQ(history.total(), total);
    EXPECT_EQ(history.first(), total - history.capacity());
    for (long long index :
         {history.first(), history.first() + 1, (history.first() + total) / 2, total - 1}) {
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_EQ(history.at(channel, index),
                      static_cast<float>(all[static_cast<std::size_t>(index * 3 + channel)]));
        }
    }
}

TEST(SampleHistoryTest, MinMaxIsExactAtEveryLevelAcrossTheRingsTurn) {
    SampleHistory history(2, 2 * 70000);
    ASSERT_GE(history.levels(), 2);
    std::mt19937 random(2);
    std::vector<double> all;
    for (int block = 0; block < 23; ++block) {
        const std::vector<double> part = scans(2, 9001, random);
        history.append(part.data(), 9001);
        all.insert(all.end(), part.begin(), part.end());
    }
    ASSERT_GT(history.first(), 0);
    std::uniform_int_distribution<long long> where(history.first(), history.total() - 1);
    for (int trial = 0; trial < 300; ++trial) {
        long long from = where(random);
        long long to = where(random);
        if (from > to) {
            std::swap(from, to);
        }
        ++to;
        for (int channel = 0; channel < 2; ++channel) {
            const MinMax expected = minMaxOf(all, 2, channel, from, to);
            const MinMax got = history.minMax(channel, from, to);
            ASSERT_EQ(got.min, expected.min) << from << ".." << to;
            ASSERT_EQ(got.max, expected.max) << from << ".." << to;
        }
    }
    // The whole history, which the coarsest blocks cover.
    const MinMax whole = history.minMax(1, history.first(), history.total());
    const MinMax expected = minMaxOf(all, 2, 1, history.first(), history.total());
    EXPECT_EQ(whole.min, expected.min);
    EXPECT_EQ(whole.max, expected.max);
}

TEST(SampleHistoryTest, TheOldestSamplesExtremesAreNotTakenForTheNewests) {
    // The oldest block kept at each level shares its slot with the newest, which holds only
    // the newest samples: a spike just after the oldest sample must still be found.
    SampleHistory history(1, 20000);
    ASSERT_EQ(history.levels(), 2);
    std::vector<double> samples(static_cast<std::size_t>(history.capacity() + 100), 0.0);
    samples[101] = 5.0;
    history.append(samples.data(), static_cast<long long>(samples.size()));
    ASSERT_EQ(history.first(), 100);
    EXPECT_EQ(history.minMax(0, 101, 5101).max, 5.0F);
    EXPECT_EQ(history.minMax(0, 100, history.total()).max, 5.0F);
    EXPECT_EQ(history.minMax(0, 102, history.total()).max, 0.0F);
}

TEST(SampleHistoryTest, TheBoundOfAHundredMillionSamplesAndItsMemory) {
    const std::size_t bytes = SampleHistory::bytesAtBound(16, SampleHistory::defaultBound);
    // Four bytes a sample and a little over an eighth more for the blocks' minima and maxima.
    EXPECT_GT(bytes, std::size_t{390'000'000});
    EXPECT_LT(bytes, std::size_t{460'000'000});
    const SampleHistory history(16, SampleHistory::defaultBound);
    EXPECT_LE(history.capacity() * 16, SampleHistory::defaultBound);
    EXPECT_EQ(history.bytesAtBound(), bytes);
}

TEST(SampleHistoryTest, AStretchTooLongToGoThroughKeepsItsExtremesExact) {
    SampleHistory history(1, 1 << 24);
    // A square wave of 100 samples a period, 0 and 2 V.
    std::vector<double> level(1 << 23);
    for (std::size_t n = 0; n < level.size(); ++n) {
        level[n] = n % 100 < 50 ? 2.0 : 0.0;
    }
    level[123457] = 7.5; // one spike among millions, between the samples measured
    level[5000001] = -3.0;
    history.append(level.data(), static_cast<long long>(level.size()));
    const Measurements m = measureStretch(history, 0, 0, history.total(), 1e-6);
    EXPECT_EQ(m.samples, level.size());
    EXPECT_DOUBLE_EQ(m.max, 7.5);
    EXPECT_DOUBLE_EQ(m.min, -3.0);
    EXPECT_NEAR(m.mean, 1.0, 1e-3);
    EXPECT_NEAR(m.frequency, 1e6 / 100.0, 1e-3);
}

} // namespace
} // namespace scope
