// Which parts of a picture are fully opaque, in square tiles of a power of two pixels on a
// side (a tile of one pixel is a pixel).
//
// A graph redrawn from its newest primitive back to its oldest, each painted under what is
// already there, need not paint where the picture is opaque: nothing painted there could
// show.  The picture starts transparent, and whoever paints says which tiles turned
// opaque, so no pixel is ever looked at here.  A long trace asks about every primitive and every
// row of pixels it would paint, so a row of tiles is one bit each and a question is a few word
// operations, answered inline.
#ifndef PLATFORM_PANEL_OPAQUE_TILES_H
#define PLATFORM_PANEL_OPAQUE_TILES_H

#include <QRect>
#include <QSize>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace panel {

class OpaqueTiles {
  public:
    // A picture of the given size in pixels, all transparent; a tile is 2^tileShift pixels
    // on a side.
    OpaqueTiles(QSize size, int tileShift);

    // True when every tile the rectangle (image pixels, clipped to the image) touches is
    // opaque; an area wholly outside the image counts as opaque, as nothing there shows.
    bool covered(const QRect &area) const {
        const Span tiles = tilesOf(area);
        for (int from = tiles.left; from <= tiles.right; from += 64) {
            const int count = std::min(tiles.right - from + 1, 64);
            const std::uint64_t span =
                count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
            for (int row = tiles.top; row <= tiles.bottom; ++row) {
                if ((span & ~windowOfTiles(from, row)) != 0) {
                    return false;
                }
            }
        }
        return true;
    }
    // Whether the tile that holds pixel (x, y) is opaque.
    bool opaqueAt(int x, int y) const {
        const int column = x >> shift_;
        return (opaque_[indexOf(y >> shift_, column >> 6)] >> (column & 63)) & 1;
    }
    // Whether each of the 64 tiles of a row from the one that holds pixel (x, y) on is
    // opaque, bit i for the i-th; tiles past the row's end read as not opaque.
    std::uint64_t window(int x, int y) const { return windowOfTiles(x >> shift_, y >> shift_); }
    // The tile that holds pixel (x, y) has just turned opaque.
    void turnedOpaque(int x, int y) {
        const int column = x >> shift_;
        opaque_[indexOf(y >> shift_, column >> 6)] |= std::uint64_t{1} << (column & 63);
    }

  private:
    // Tile columns and rows, inclusive; empty (left > right) when outside the image.
    struct Span {
        int left, top, right, bottom;
    };
    Span tilesOf(const QRect &area) const {
        return {std::max(area.left(), 0) >> shift_, std::max(area.top(), 0) >> shift_,
                std::min(area.right(), width_ - 1) >> shift_,
                std::min(area.bottom(), height_ - 1) >> shift_};
    }
    // window() in tile columns and rows.
    std::uint64_t windowOfTiles(int column, int row) const {
        const int offset = column & 63;
        const std::size_t at = indexOf(row, column >> 6);
        std::uint64_t bits = opaque_[at] >> offset;
        if (offset != 0 && (column >> 6) + 1 < words_) {
            bits |= opaque_[at + 1] << (64 - offset);
        }
        return bits;
    }
    std::size_t indexOf(int row, int word) const {
        return static_cast<std::size_t>(row) * words_ + word;
    }
    int shift_;
    int width_;
    int height_;
    int words_; // per row of tiles
    std::vector<std::uint64_t> opaque_;
};

} // namespace panel

#endif
