// Compact, append-only store of what an XY graph has plotted, in plotting order.
//
// Each primitive costs 18.5 bytes: four float coordinates, a 16-bit tag that holds a palette
// index and whether it is a marker, and a share of its block's bounds.  Storage grows in
// chunks that never move, so appending never copies a long trace; the first chunks are small
// (64, 64, 128, ... 2048) so that a short trace holds little, and from 4096 primitives on
// every chunk has 4096.  Each block of 32 primitives also keeps the box that holds them, and
// each chunk which of its blocks hold a marker, so that a reader can pass over a block that
// lands where nothing would show.
#ifndef PLATFORM_UIRUNTIME_PANEL_GRAPH_GRAPH_STORE_H
#define PLATFORM_UIRUNTIME_PANEL_GRAPH_GRAPH_STORE_H

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace panel {

struct GraphPrimitive {
    float x1, y1, x2, y2; // a marker has x2 == x1, y2 == y1
    std::uint32_t rgb;    // 0xRRGGBB
    bool marker;
};

class GraphStore {
  public:
    // Distinct colours one graph can hold until it is cleared; it also bounds the time a
    // new colour takes to look up.
    static constexpr std::size_t maxColours = 4096;

    // False (nothing stored) when the palette is full and rgb is new to it.
    bool append(const GraphPrimitive &primitive);
    void clear();

    std::size_t size() const { return size_; }
    std::size_t markerCount() const { return markers_; }
    std::size_t segmentCount() const { return size_ - markers_; }
    GraphPrimitive at(std::size_t index) const;

    static constexpr std::size_t blockSize = 32;
    static constexpr std::size_t firstChunkSize = 64;
    static constexpr std::size_t chunkSize = 4096;
    struct Bounds {
        float xMin, yMin, xMax, yMax;
    };
    // The primitives in plotting order as runs of raw arrays, one run a chunk, for a
    // reader that goes through all of them and cannot afford a lookup for each (the full
    // redraw reads them through StoredBlock, stored_block.h): four coordinates a primitive
    // (x1, y1, x2, y2), a tag that colourOf and isMarker read, and the bounds of each block
    // of blockSize primitives (the run's last block may be partial), and which blocks hold
    // a marker, whose reach is larger than a segment's.
    struct Run {
        const float *coords;
        const std::uint16_t *tags;
        const Bounds *bounds;
        std::size_t count;
        const std::bitset<chunkSize / blockSize> *markerBlocks;
        bool blockHoldsMarker(std::size_t block) const { return markerBlocks->test(block); }
    };
    std::size_t runCount() const { return chunks_.size(); }
    Run run(std::size_t index) const;
    std::uint32_t colourOf(std::uint16_t tag) const { return palette_[tag & ~markerBit]; }
    static bool isMarker(std::uint16_t tag) { return (tag & markerBit) != 0; }

    // Bytes held for the primitives (chunks allocated so far, palette included).
    std::size_t bytesHeld() const;

  private:
    static constexpr std::size_t smallChunkCount = 7; // 64 + 64 + 128 + ... + 2048 = 4096
    static constexpr std::uint16_t markerBit = 0x8000;
    static_assert(firstChunkSize % blockSize == 0 && chunkSize % blockSize == 0);
    struct Chunk {
        std::unique_ptr<float[]> coords;
        std::unique_ptr<std::uint16_t[]> tags;
        std::unique_ptr<Bounds[]> bounds;
        std::bitset<chunkSize / blockSize> markerBlocks;
    };
    struct Location {
        std::size_t chunk;
        std::size_t slot;
    };
    static std::size_t chunkCapacity(std::size_t chunk);
    static std::size_t chunkStart(std::size_t chunk);
    static Location locate(std::size_t index);
    int paletteIndex(std::uint32_t rgb);

    std::vector<Chunk> chunks_;
    std::vector<std::uint32_t> palette_;
    std::size_t lastColour_ = 0; // where the previous lookup succeeded
    std::size_t size_ = 0;
    std::size_t markers_ = 0;
};

} // namespace panel

#endif
