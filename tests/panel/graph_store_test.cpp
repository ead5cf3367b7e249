#include "graph/graph_store.h"

#include <gtest/gtest.h>
#include <set>

namespace panel {
namespace {

GraphPrimitive segment(float x, std::uint32_t rgb) {
    return {x, x + 1, x + 2, x + 3, rgb, false};
}

TEST(GraphStore, KeepsOrderCoordinatesColoursAndKindAcrossChunks) {
    GraphStore store;
    constexpr std::size_t count = 10000; // several chunks
    for (std::size_t i = 0; i < count; ++i) {
        const auto x = static_cast<float>(i);
        ASSERT_TRUE(i % 3 == 0 ? store.append({x, -x, x, -x, 0x00FF00, true})
                               : store.append(segment(x, i % 2 ? 0xFF0000 : 0x0000FF)));
    }
    EXPECT_EQ(store.size(), count);
    EXPECT_EQ(store.markerCount(), (count + 2) / 3);
    EXPECT_EQ(store.segmentCount(), count - store.markerCount());
    // Every index, so each boundary of the growing chunks is crossed.
    for (std::size_t i = 0; i < count; ++i) {
        const GraphPrimitive p = store.at(i);
        const auto x = static_cast<float>(i);
        if (i % 3 == 0) {
            ASSERT_TRUE(p.marker) << i;
            ASSERT_EQ(p.rgb, 0x00FF00u) << i;
            ASSERT_EQ(p.y2, -x) << i;
        } else {
            ASSERT_FALSE(p.marker) << i;
            ASSERT_EQ(p.rgb, i % 2 ? 0xFF0000u : 0x0000FFu) << i;
            ASSERT_EQ(p.x1, x) << i;
            ASSERT_EQ(p.y2, x + 3) << i;
        }
    }
}

TEST(GraphStore, RunsHoldEveryPrimitiveOnceInOrder) {
    for (const std::size_t count : {std::size_t{0}, std::size_t{64}, std::size_t{4097}}) {
        GraphStore store;
        for (std::size_t i = 0; i < count; ++i) {
            store.append(
                {static_cast<float>(i), 0, 0, 0, i % 2 ? 0xFF0000u : 0x00FF00u, i % 5 == 0});
        }
        std::size_t seen = 0;
        for (std::size_t r = 0; r < store.runCount(); ++r) {
            const GraphStore::Run run = store.run(r);
            for (std::size_t i = 0; i < run.count; ++i, ++seen) {
                ASSERT_EQ(run.coords[4 * i], static_cast<float>(seen)) << count;
                ASSERT_EQ(store.colourOf(run.tags[i]), seen % 2 ? 0xFF0000u : 0x00FF00u);
                ASSERT_EQ(GraphStore::isMarker(run.tags[i]), seen % 5 == 0);
            }
        }
        EXPECT_EQ(seen, count);
    }
}

TEST(GraphStore, RunsKnowWhichOfTheirBlocksHoldAMarker) {
    // The first of a chunk's blocks, the last of a small chunk, one inside a full chunk.
    const std::set<std::size_t> markers = {0, 4095, 4096 + 64 * 5 + 17};
    GraphStore store;
    for (std::size_t i = 0; i < 3 * 4096; ++i) {
        store.append({0, 0, 1, 1, 0xFF0000u, markers.contains(i)});
    }
    std::size_t first = 0;
    for (std::size_t r = 0; r < store.runCount(); ++r) {
        const GraphStore::Run run = store.run(r);
        for (std::size_t block = 0; block * GraphStore::blockSize < run.count; ++block) {
            const std::size_t start = first + block * GraphStore::blockSize;
            const auto holder = markers.lower_bound(start);
            const bool holds = holder != markers.end() && *holder < start + GraphStore::blockSize;
            EXPECT_EQ(run.blockHoldsMarker(block), holds) << "primitives from " << start;
        }
        first += run.count;
    }
}

TEST(GraphStore, FullPaletteRefusesNewColoursButKeepsKnownOnes) {
    GraphStore store;
    for (std::uint32_t rgb = 0; rgb < GraphStore::maxColours; ++rgb) {
        ASSERT_TRUE(store.append(segment(0, rgb)));
    }
    EXPECT_FALSE(store.append(segment(0, 0xFFFFFF)));
    EXPECT_TRUE(store.append(segment(0, 7)));
    EXPECT_EQ(store.at(store.size() - 1).rgb, 7u);
    store.clear();
    EXPECT_EQ(store.size(), 0u);
    EXPECT_TRUE(store.append(segment(0, 0xFFFFFF)));
}

} // namespace
} // namespace panel
