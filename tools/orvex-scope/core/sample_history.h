// What the scope has captured: every channel's newest samples, up to a bound on the samples
// of all channels together, the oldest dropped first, with the minimum and maximum of every
// block of 16, 256, 4096, ... samples beside them, so that a picture of any stretch costs
// what its pixels cost and not what its samples do.
#ifndef TOOLS_ORVEX_SCOPE_CORE_SAMPLE_HISTORY_H
#define TOOLS_ORVEX_SCOPE_CORE_SAMPLE_HISTORY_H

#include <cstddef>
#include <vector>

namespace scope {

struct MinMax {
    float min;
    float max;
};

class SampleHistory {
  public:
    // Samples of one level's block that make one block of the next (2^4: blocks are found
    // by shifts).
    static constexpr long long fanOut = 16;
    static constexpr long long defaultBound = 100'000'000;

    // Room for bound / channels samples of each channel, rounded down to whole blocks of the
    // coarsest level, so that every level's blocks keep their place as the ring turns.
    SampleHistory(int channels, long long bound);

    int channels() const { return static_cast<int>(channels_.size()); }
    long long capacity() const { return capacity_; } // samples of one channel
    int levels() const { return levels_; }
    long long total() const { return total_; } // of one channel since the start
    long long first() const { return total_ > capacity_ ? total_ - capacity_ : 0; }

    // Bytes the history takes when full.
    std::size_t bytesAtBound() const;
    static std::size_t bytesAtBound(int channels, long long bound);
    // The capacity of a history of these channels and bound, without making one.
    static long long capacityFor(int channels, long long bound);

    // scans: count scans of one sample per channel, in channel order.
    void append(const double *scans, long long count);
    void clear();

    // first() <= index < total().
    float at(int channel, long long index) const {
        return channels_[channel].samples[static_cast<std::size_t>(index % capacity_)];
    }
    // Exact, over [from, to) within [first(), total()), from < to.
    MinMax minMax(int channel, long long from, long long to) const;
    // The samples [from, to) within [first(), total()).
    std::vector<float> read(int channel, long long from, long long to) const;

  private:
    struct Channel {
        std::vector<float> samples;
        std::vector<std::vector<MinMax>> levels; // level 1 first
    };
    long long blockSize(int level) const { return blockSizes_[static_cast<std::size_t>(level)]; }
    void appendSample(Channel &channel, float value);
    // The block of a level (1 or more) that begins at start, counted as mergeRun counts.
    MinMax block(int channel, int level, long long start) const;
    // Merges the blocks of a level in [from, to), both on the level's block bounds and counted
    // from the start of a turn of the ring, less than two turns.
    void mergeRun(int channel, int level, long long from, long long to, MinMax &into) const;

    std::vector<Channel> channels_;
    std::vector<long long> blockSizes_; // of levels 0 (one sample) to levels_
    std::vector<std::size_t> slots_;    // where the newest sample's blocks are kept, by level
    long long capacity_;
    int levels_;
    long long total_ = 0;
};

} // namespace scope

#endif
