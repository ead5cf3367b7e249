#include "graph/stored_block.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace panel {
namespace {

// Coordinates that tell the primitives apart and make every block's box differ; every
// seventh a marker, colours taking turns.
GraphPrimitive numbered(std::size_t i) {
    const auto x = static_cast<float>(i);
    const bool marker = i % 7 == 3;
    return {x,     -x, marker ? x : x + 0.5f, marker ? -x : 2 * x, i % 2 ? 0xFF0000u : 0x0000FFu,
            marker};
}

struct Seen {
    std::size_t size;
    GraphStore::Bounds bounds;
    bool holdsMarker;
    std::vector<GraphPrimitive> primitives; // oldest first
};

std::vector<Seen> blocksNewestFirst(const GraphStore &store) {
    std::vector<Seen> seen;
    forEachBlockNewestFirst(store, [&](const StoredBlock &block) {
        Seen one{block.size(), block.bounds(), block.holdsMarker(), {}};
        for (std::size_t i = 0; i < block.size(); ++i) {
            const float *c = block.coords(i);
            one.primitives.push_back({c[0], c[1], c[2], c[3], block.rgb(i), block.isMarker(i)});
        }
        seen.push_back(one);
    });
    return seen;
}

// Sizes around the growing chunks' ends and with a last block cut short.
class StoredBlocks : public ::testing::TestWithParam<std::size_t> {};

TEST_P(StoredBlocks, GiveEveryPrimitiveOnceNewestBlockFirstWithItsColourAndKind) {
    const std::size_t count = GetParam();
    GraphStore store;
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_TRUE(store.append(numbered(i)));
    }
    std::vector<GraphPrimitive> read;
    const std::vector<Seen> blocks = blocksNewestFirst(store);
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
        ASSERT_GE(block->size, 1u);
        ASSERT_LE(block->size, GraphStore::blockSize);
        read.insert(read.end(), block->primitives.begin(), block->primitives.end());
    }
    ASSERT_EQ(read.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        const GraphPrimitive want = numbered(i);
        ASSERT_EQ(read[i].x1, want.x1) << i;
        ASSERT_EQ(read[i].y2, want.y2) << i;
        ASSERT_EQ(read[i].rgb, want.rgb) << i;
        ASSERT_EQ(read[i].marker, want.marker) << i;
    }
}

TEST_P(StoredBlocks, BoundsHoldTheirPrimitivesExactlyAndSayWhetherAMarkerIsAmongThem) {
    GraphStore store;
    for (std::size_t i = 0; i < GetParam(); ++i) {
        store.append(numbered(i));
    }
    for (const Seen &block : blocksNewestFirst(store)) {
        GraphStore::Bounds box{block.primitives[0].x1, block.primitives[0].y1,
                               block.primitives[0].x1, block.primitives[0].y1};
        bool marker = false;
        for (const GraphPrimitive &p : block.primitives) {
            box = {std::min({box.xMin, p.x1, p.x2}), std::min({box.yMin, p.y1, p.y2}),
                   std::max({box.xMax, p.x1, p.x2}), std::max({box.yMax, p.y1, p.y2})};
            marker = marker || p.marker;
        }
        EXPECT_EQ(block.bounds.xMin, box.xMin);
        EXPECT_EQ(block.bounds.yMin, box.yMin);
        EXPECT_EQ(block.bounds.xMax, box.xMax);
        EXPECT_EQ(block.bounds.yMax, box.yMax);
        EXPECT_EQ(block.holdsMarker, marker);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, StoredBlocks,
                         ::testing::Values(0, 1, 31, 32, 33, 64, 65, 4095, 4096, 4097,
                                           3 * 4096 + 17));

} // namespace
} // namespace panel
