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
    // A run of one level's blocks lies in its ring in order, but for one turn of the ring.
    const Channel &source = channels_[static_cast<std::size_t>(channel)];
    const int shift = 4 * level;
    const long long ringSize = capacity_ >> shift;
    long long slot = (from >> shift) % ringSize;
    for (long long block = from >> shift; block < to >> shift; ++block) {
        if (level == 0) {
            const float value = source.samples[static_cast<std::size_t>(slot)];
            into.min = std::min(into.min, value);
            into.max = std::max(into.max, value);
        } else {
            const MinMax &kept =
                source.levels[static_cast<std::size_t>(level - 1)][static_cast<std::size_t>(slot)];
            into.min = std::min(into.min, kept.min);
            into.max = std::max(into.max, kept.max);
        }
        slot = slot + 1 == ringSize ? 0 : slot + 1;
    }
}

MinMax SampleHistory::minMax(int channel, long long from, long long to) const {
    MinMax result{std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    // Up the levels while a whole block of the next one fits, taking the pieces either side
    // of it at this level; then the run of whole blocks in the middle.  At most fanOut - 1
    // blocks of each level on either side.
    int level = 0;
    while (level < levels_) {
        const long long next = blockSize(level + 1);
        const long long innerFrom = (from + next - 1) / next * next;
        const long long innerTo = to / next * next;
        if (innerFrom >= innerTo) {
            break;
        }
        mergeRun(channel, level, from, innerFrom, result);
        mergeRun(channel, level, innerTo, to, result);
        from = innerFrom;
        to = innerTo;
        ++level;
    }
    mergeRun(channel, level, from, to, result);
    return result;
}

std::vector<float> SampleHistory::read(int channel, long long from, long long to) const {
    std::vector<float> out;
    out.reserve(static_cast<std::size_t>(std::max(0LL, to - from)));
    for (long long index = from; index < to; ++index) {
        out.push_back(at(channel, index));
    }
    return out;
}

} // namespace scope
