#include "graph_store.h"

#include <algorithm>
#include <bit>

namespace panel {

std::size_t GraphStore::chunkCapacity(std::size_t chunk) {
    if (chunk >= smallChunkCount) {
        return chunkSize;
    }
    return chunk == 0 ? firstChunkSize : firstChunkSize << (chunk - 1);
}

std::size_t GraphStore::chunkStart(std::size_t chunk) {
    if (chunk >= smallChunkCount) {
        return (chunk - smallChunkCount + 1) * chunkSize;
    }
    return chunk == 0 ? 0 : firstChunkSize << (chunk - 1);
}

GraphStore::Location GraphStore::locate(std::size_t index) {
    if (index < firstChunkSize) {
        return {0, index};
    }
    if (index < chunkSize) {
        // Small chunk c >= 1 holds the indices from 2^(c+5) up to 2^(c+6).
        const auto highBit = static_cast<std::size_t>(std::bit_width(index) - 1);
        const std::size_t firstHighBit = std::bit_width(firstChunkSize) - 1;
        return {highBit - firstHighBit + 1, index - (std::size_t{1} << highBit)};
    }
    return {smallChunkCount - 1 + index / chunkSize, index % chunkSize};
}

bool GraphStore::append(const GraphPrimitive &primitive) {
    const int colour = paletteIndex(primitive.rgb);
    if (colour < 0) {
        return false;
    }
    const Location at = locate(size_);
    if (at.chunk == chunks_.size()) {
        const std::size_t capacity = chunkCapacity(at.chunk);
        chunks_.push_back({std::make_unique_for_overwrite<float[]>(4 * capacity),
                           std::make_unique_for_overwrite<std::uint16_t[]>(capacity),
                           std::make_unique_for_overwrite<Bounds[]>(capacity / blockSize),
                           {}});
    }
    Chunk &chunk = chunks_[at.chunk];
    float *coords = &chunk.coords[4 * at.slot];
    coords[0] = primitive.x1;
    coords[1] = primitive.y1;
    coords[2] = primitive.x2;
    coords[3] = primitive.y2;
    chunk.tags[at.slot] = static_cast<std::uint16_t>(colour | (primitive.marker ? markerBit : 0));
    Bounds &block = chunk.bounds[at.slot / blockSize];
    const Bounds own{std::min(primitive.x1, primitive.x2), std::min(primitive.y1, primitive.y2),
                     std::max(primitive.x1, primitive.x2), std::max(primitive.y1, primitive.y2)};
    if (at.slot % blockSize == 0) {
        block = own;
    } else {
        block = {std::min(block.xMin, own.xMin), std::min(block.yMin, own.yMin),
                 std::max(block.xMax, own.xMax), std::max(block.yMax, own.yMax)};
    }
    ++size_;
    if (primitive.marker) {
        chunk.markerBlocks.set(at.slot / blockSize);
        ++markers_;
    }
    return true;
}

void GraphStore::clear() {
    chunks_.clear();
    palette_.clear();
    lastColour_ = 0;
    size_ = 0;
    markers_ = 0;
}

GraphPrimitive GraphStore::at(std::size_t index) const {
    const Location at = locate(index);
    const Chunk &chunk = chunks_[at.chunk];
    const float *coords = &chunk.coords[4 * at.slot];
    const std::uint16_t tag = chunk.tags[at.slot];
    return {coords[0], coords[1], coords[2], coords[3], colourOf(tag), isMarker(tag)};
}

GraphStore::Run GraphStore::run(std::size_t index) const {
    const Chunk &chunk = chunks_[index];
    const std::size_t count = std::min(chunkCapacity(index), size_ - chunkStart(index));
    return {chunk.coords.get(), chunk.tags.get(), chunk.bounds.get(), count, &chunk.markerBlocks};
}

std::size_t GraphStore::bytesHeld() const {
    std::size_t primitives = 0;
    for (std::size_t chunk = 0; chunk < chunks_.size(); ++chunk) {
        primitives += chunkCapacity(chunk);
    }
    return primitives * (4 * sizeof(float) + sizeof(std::uint16_t)) +
           primitives / blockSize * sizeof(Bounds) + chunks_.capacity() * sizeof(Chunk) +
           palette_.capacity() * sizeof(std::uint32_t);
}

// A trace is drawn in one or two colours, so the colour of the previous primitive is
// nearly always the one asked for; other colours are searched for in the small palette.
int GraphStore::paletteIndex(std::uint32_t rgb) {
    if (lastColour_ < palette_.size() && palette_[lastColour_] == rgb) {
        return static_cast<int>(lastColour_);
    }
    const auto found = std::find(palette_.begin(), palette_.end(), rgb);
    if (found != palette_.end()) {
        lastColour_ = static_cast<std::size_t>(found - palette_.begin());
        return static_cast<int>(lastColour_);
    }
    if (palette_.size() == maxColours) {
        return -1;
    }
    palette_.push_back(rgb);
    lastColour_ = palette_.size() - 1;
    return static_cast<int>(lastColour_);
}

} // namespace panel
