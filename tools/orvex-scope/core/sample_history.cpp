#include "sample_history.h"

#include <algorithm>
#include <limits>

namespace scope {

namespace {

struct Shape {
    long long capacity;
    int levels;
};

// A coarsest level of at least fanOut blocks: coarser would save the picture nothing.
Shape shapeFor(int channels, long long bound) {
    const long long perChannel = std::max(1LL, bound / std::max(1, channels));
    int levels = 0;
    long long block = 1;
    while (block * SampleHistory::fanOut * SampleHistory::fanOut <= perChannel) {
        block *= SampleHistory::fanOut;
        ++levels;
    }
    return {perChannel / block * block, levels};
}

std::size_t bytesOf(int channels, Shape shape) {
    double perSample = sizeof(float);
    double block = 1.0;
    for (int level = 1; level <= shape.levels; ++level) {
        block *= SampleHistory::fanOut;
        perSample += sizeof(MinMax) / block;
    }
    return static_cast<std::size_t>(perSample * double(shape.capacity) * channels);
}

template <typename T> void put(std::vector<T> &ring, std::size_t slot, T value) {
    if (slot == ring.size()) {
        ring.push_back(value);
    } else {
        ring[slot] = value;
    }
}

float lowOf(float sample) {
    return sample;
}
float highOf(float sample) {
    return sample;
}
float lowOf(const MinMax &block) {
    return block.min;
}
float highOf(const MinMax &block) {
    return block.max;
}

// The extremes of a ring's slots [from, to), counted from the start of a turn, less than two
// turns in all: the run in two pieces at most, each a plain loop.
template <typename T>
void mergeRing(const std::vector<T> &ring, long long ringSize, long long from, long long to,
               MinMax &into) {
    if (from >= ringSize) {
        from -= ringSize;
        to -= ringSize;
    }
    // Kept apart from into while merging: the ring's floats might otherwise be into's.
    float low = into.min;
    float high = into.max;
    const auto mergePiece = [&](long long begin, long long end) {
        for (const T *slot = ring.data() + begin; slot != ring.data() + end; ++slot) {
            low = std::min(low, lowOf(*slot));
            high = std::max(high, highOf(*slot));
        }
    };
    mergePiece(from, std::min(to, ringSize));
    if (to > ringSize) {
        mergePiece(0, to - ringSize);
    }
    into = {low, high};
}

} // namespace

SampleHistory::SampleHistory(int channels, long long bound)
    : channels_(static_cast<std::size_t>(std::max(1, channels))) {
    const Shape shape = shapeFor(channels, bound);
    capacity_ = shape.capacity;
    levels_ = shape.levels;
    blockSizes_.push_back(1);
    for (int level = 1; level <= levels_; ++level) {
        blockSizes_.push_back(blockSizes_.back() * fanOut);
    }
    slots_.assign(static_cast<std::size_t>(levels_) + 1, 0);
    // Room asked for at once: the system gives memory as it is written, and a history
    // that grows by copying would hold the window up for a copy of hundreds of megabytes.
    for (Channel &channel : channels_) {
        channel.samples.reserve(static_cast<std::size_t>(capacity_));
        channel.levels.resize(static_cast<std::size_t>(levels_));
        for (int level = 1; level <= levels_; ++level) {
            channel.levels[static_cast<std::size_t>(level - 1)].reserve(
                static_cast<std::size_t>(capacity_ / blockSize(level)));
        }
    }
}

std::size_t SampleHistory::bytesAtBound() const {
    return bytesOf(channels(), {capacity_, levels_});
}

std::size_t SampleHistory::bytesAtBound(int channels, long long bound) {
    return bytesOf(channels, shapeFor(channels, bound));
}

long long SampleHistory::capacityFor(int channels, long long bound) {
    return shapeFor(channels, bound).capacity;
}

void SampleHistory::append(const double *scans, long long count) {
    const int width = channels();
    for (long long scan = 0; scan < count; ++scan) {
        // Blocks are powers of two long and the slots move on by one as each starts: no
        // division for the hundreds of thousands of samples a second a scan brings.
        const bool wrapped = total_ > 0 && total_ % capacity_ == 0;
        if (wrapped) {
            std::fill(slots_.begin(), slots_.end(), 0);
        }
        for (int level = 1; level <= levels_ && total_ > 0; ++level) {
            if (!wrapped && (total_ & (blockSize(level) - 1)) == 0) {
                ++slots_[static_cast<std::size_t>(level)];
            }
        }
        for (int k = 0; k < width; ++k) {
            appendSample(channels_[static_cast<std::size_t>(k)],
                         static_cast<float>(scans[scan * width + k]));
        }
        ++total_;
        ++slots_[0];
    }
}

void SampleHistory::appendSample(Channel &channel, float value) {
    put(channel.samples, slots_[0], value);
    for (int level = 1; level <= levels_; ++level) {
        std::vector<MinMax> &ring = channel.levels[static_cast<std::size_t>(level - 1)];
        const std::size_t slot = slots_[static_cast<std::size_t>(level)];
        if ((total_ & (blockSize(level) - 1)) == 0) {
            put(ring, slot, MinMax{value, value});
        } else {
            MinMax &block = ring[slot];
            block.min = std::min(block.min, value);
            block.max = std::max(block.max, value);
        }
    }
}

void SampleHistory::clear() {
    for (Channel &channel : channels_) {
        channel.samples.clear();
        for (std::vector<MinMax> &ring : channel.levels) {
            ring.clear();
        }
    }
    total_ = 0;
    std::fill(slots_.begin(), slots_.end(), 0);
}

void SampleHistory::mergeRun(int channel, int level, long long from, long long to,
                             MinMax &into) const {
    const Channel &source = channels_[static_cast<std::size_t>(channel)];
    const int shift = 4 * level;
    if (level == 0) {
        mergeRing(source.samples, capacity_, from, to, into);
    } else {
        mergeRing(source.levels[static_cast<std::size_t>(level - 1)], capacity_ >> shift,
                  from >> shift, to >> shift, into);
    }
}

MinMax SampleHistory::block(int channel, int level, long long start) const {
    const long long ringSize = capacity_ >> (4 * level);
    long long slot = start >> (4 * level);
    if (slot >= ringSize) {
        slot -= ringSize;
    }
    return channels_[static_cast<std::size_t>(channel)]
        .levels[static_cast<std::size_t>(level - 1)][static_cast<std::size_t>(slot)];
}

MinMax SampleHistory::minMax(int channel, long long from, long long to) const {
    MinMax result{std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    // Counted from the start of the ring's turn that holds from, the stretch's places are
    // below two turns, and every level's slots follow without a division each.
    const long long turn = from / capacity_ * capacity_;
    const long long oldest = first() - turn;
    from -= turn;
    to -= turn;
    const auto roundUp = [](long long index, int level) {
        const int shift = 4 * level;
        return ((index + (1LL << shift) - 1) >> shift) << shift;
    };
    const auto roundDown = [](long long index, int level) {
        const int shift = 4 * level;
        return (index >> shift) << shift;
    };
    // The run of whole blocks of the coarsest level that has one inside the stretch first;
    // then, down the levels on either side, the pieces between it and the stretch's ends, at
    // most fanOut - 1 blocks a level.  A side ends where the block of the level above that
    // holds all of its rest is no wider than the extremes found: the columns of a long
    // stretch then read their ends' samples seldom, and so seldom wait for memory.
    int top = 0;
    while (top < levels_ && roundUp(from, top + 1) < roundDown(to, top + 1)) {
        ++top;
    }
    mergeRun(channel, top, roundUp(from, top), roundDown(to, top), result);
    const auto within = [&](MinMax kept) {
        return kept.min >= result.min && kept.max <= result.max;
    };
    for (int level = top - 1; level >= 0; --level) {
        const long long end = roundUp(from, level + 1);
        // A block begun before the oldest sample kept has its slot taken by the newest.
        const long long holder = end - blockSize(level + 1);
        if (from == end || (holder >= oldest && within(block(channel, level + 1, holder)))) {
            break;
        }
        mergeRun(channel, level, roundUp(from, level), end, result);
    }
    for (int level = top - 1; level >= 0; --level) {
        const long long begin = roundDown(to, level + 1);
        if (begin == to || within(block(channel, level + 1, begin))) {
            break;
        }
        mergeRun(channel, level, begin, roundDown(to, level), result);
    }
    return result;
}

std::vector<float> SampleHistory::read(int channel, long long from, long long to) const {
    const std::vector<float> &samples = channels_[static_cast<std::size_t>(channel)].samples;
    std::vector<float> out;
    out.reserve(static_cast<std::size_t>(std::max(0LL, to - from)));
    // In the ring's order: two runs at most.
    for (long long slot = from % capacity_; from < to; slot = 0) {
        const long long run = std::min(to - from, capacity_ - slot);
        out.insert(out.end(), samples.begin() + slot, samples.begin() + slot + run);
        from += run;
    }
    return out;
}

} // namespace scope
