// The stored primitives a block at a time, newest block first, for a full redraw: it paints
// a long trace back to front and asks first whether a whole block could still show, so it
// needs a block's bounds before its primitives, and cannot afford a lookup for each
// primitive.  The view reads the store's runs in place and copies nothing.
#ifndef PLATFORM_UIRUNTIME_PANEL_GRAPH_STORED_BLOCK_H
#define PLATFORM_UIRUNTIME_PANEL_GRAPH_STORED_BLOCK_H

#include "graph_store.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace panel {

// Up to GraphStore::blockSize primitives stored one after another; index 0 is the oldest.
class StoredBlock {
  public:
    StoredBlock(const GraphStore &store, const GraphStore::Run &run, std::size_t block)
        : store_(store), coords_(run.coords + 4 * block * GraphStore::blockSize),
          tags_(run.tags + block * GraphStore::blockSize), bounds_(run.bounds[block]),
          size_(std::min(GraphStore::blockSize, run.count - block * GraphStore::blockSize)),
          holdsMarker_(run.blockHoldsMarker(block)) {}

    std::size_t size() const { return size_; }
    // The box that holds every primitive of the block, in data coordinates.
    const GraphStore::Bounds &bounds() const { return bounds_; }
    // A marker reaches further from its point than a segment's pen from its line.
    bool holdsMarker() const { return holdsMarker_; }

    // x1, y1, x2, y2 of primitive i.
    const float *coords(std::size_t i) const { return coords_ + 4 * i; }
    bool isMarker(std::size_t i) const { return GraphStore::isMarker(tags_[i]); }
    std::uint32_t rgb(std::size_t i) const { return store_.colourOf(tags_[i]); }

  private:
    const GraphStore &store_;
    const float *coords_;
    const std::uint16_t *tags_;
    const GraphStore::Bounds &bounds_;
    std::size_t size_;
    bool holdsMarker_;
};

// Calls visit(const StoredBlock &) for every block of the store, the newest first.
template <typename Visit> void forEachBlockNewestFirst(const GraphStore &store, Visit visit) {
    constexpr std::size_t blockSize = GraphStore::blockSize;
    for (std::size_t r = store.runCount(); r-- > 0;) {
        const GraphStore::Run run = store.run(r);
        for (std::size_t block = (run.count + blockSize - 1) / blockSize; block-- > 0;) {
            visit(StoredBlock(store, run, block));
        }
    }
}

} // namespace panel

#endif
