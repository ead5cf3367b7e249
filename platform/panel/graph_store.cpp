#include "graph_store.h"

bool GraphStore::append(const GraphPrimitive &primitive) {
    const int colour = paletteIndex(primitive.rgb);
    if (colour < 0)
        return false;
    const std::size_t slot = size_ % kChunkSize;
    if (slot == 0 && size_ / kChunkSize == chunks_.size())
        chunks_.push_back(std::make_unique<Chunk>());
    Chunk &chunk = *chunks_[size_ / kChunkSize];
    float *coords = &chunk.coords[4 * slot];
    coords[0] = primitive.x1;
    coords[1] = primitive.y1;
    coords[2] = primitive.x2;
    coords[3] = primitive.y2;
    chunk.tags[slot] = static_cast<std::uint16_t>(colour | (primitive.marker ? kMarkerBit : 0));
    ++size_;
    if (primitive.marker)
        ++markers_;
    return true;
}

void GraphStore::clear() {
    chunks_.clear();
    palette_.clear();
    paletteLookup_.clear();
    size_ = 0;
    markers_ = 0;
}

GraphPrimitive GraphStore::at(std::size_t index) const {
    const Chunk &chunk = *chunks_[index / kChunkSize];
    const std::size_t slot = index % kChunkSize;
    const float *coords = &chunk.coords[4 * slot];
    const std::uint16_t tag = chunk.tags[slot];
    return {coords[0],
            coords[1],
            coords[2],
            coords[3],
            palette_[tag & ~kMarkerBit],
            (tag & kMarkerBit) != 0};
}

std::size_t GraphStore::bytesHeld() const {
    return chunks_.size() * sizeof(Chunk) + palette_.capacity() * sizeof(std::uint32_t);
}

int GraphStore::paletteIndex(std::uint32_t rgb) {
    const auto found = paletteLookup_.find(rgb);
    if (found != paletteLookup_.end())
        return found->second;
    if (palette_.size() == kMaxColours)
        return -1;
    const auto index = static_cast<std::uint16_t>(palette_.size());
    palette_.push_back(rgb);
    paletteLookup_.emplace(rgb, index);
    return index;
}
