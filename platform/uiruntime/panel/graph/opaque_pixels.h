// Which pixels of a picture are fully opaque, one bit each.
//
// A graph redrawn from its newest primitive back to its oldest, each painted under what is
// already there, need not paint where the picture is opaque: nothing painted there could
// show.  The picture starts transparent, and whoever paints says which pixels turned
// opaque, so no pixel is ever looked at here.  A long trace asks about every primitive and
// every row of pixels it would paint, so a question reads up to a window of a row's pixels
// with one load, inline.
#ifndef PLATFORM_UIRUNTIME_PANEL_GRAPH_OPAQUE_PIXELS_H
#define PLATFORM_UIRUNTIME_PANEL_GRAPH_OPAQUE_PIXELS_H

#include <QRect>
#include <QSize>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace panel {

class OpaquePixels {
  public:
    // Pixels a window() reads: a load of 64 bits starting at the byte that holds the first
    // pixel has at least this many left after the pixels before it in that byte.
    static constexpr int windowPixels = 57;

    // A picture of the given size, all transparent.
    explicit OpaquePixels(QSize size);

    // True when every pixel of the rectangle that lies in the picture is opaque; an area
    // wholly outside counts as opaque, as nothing there shows.
    bool covered(const QRect &area) const {
        const int left = std::max(area.left(), 0);
        const int right = std::min(area.right(), width_ - 1);
        const int bottom = std::min(area.bottom(), height_ - 1);
        for (int from = left; from <= right; from += windowPixels) {
            const std::uint64_t span = spanOf(std::min(right - from + 1, windowPixels));
            for (int y = std::max(area.top(), 0); y <= bottom; ++y) {
                if ((span & ~window(from, y)) != 0) {
                    return false;
                }
            }
        }
        return true;
    }
    // Bit i for whether pixel x + i of row y is opaque, for i below windowPixels; the bits above
    // those, and pixels past the row's end, are not for use.
    std::uint64_t window(int x, int y) const {
        std::uint64_t bits;
        std::memcpy(&bits, &bytes_[byteOf(x, y)], sizeof bits);
        if constexpr (std::endian::native == std::endian::big) {
            bits = __builtin_bswap64(bits);
        }
        return bits >> (x & 7);
    }
    // The lowest count bits, for 0 <= count <= windowPixels: the part of a window to look at.
    static std::uint64_t spanOf(int count) { return (std::uint64_t{1} << count) - 1; }

    bool opaqueAt(int x, int y) const { return (bytes_[byteOf(x, y)] >> (x & 7)) & 1; }
    void turnedOpaque(int x, int y) {
        bytes_[byteOf(x, y)] |= static_cast<std::uint8_t>(1u << (x & 7));
    }

  private:
    std::size_t byteOf(int x, int y) const {
        return static_cast<std::size_t>(y) * rowBytes_ + static_cast<std::size_t>(x >> 3);
    }

    int width_;
    int height_;
    std::size_t rowBytes_; // the row's pixels, and room for a window read from its last byte
    std::vector<std::uint8_t> bytes_;
};

} // namespace panel

#endif
