// Which parts of a picture are already fully opaque, in square tiles of a power of two
// pixels on a side (one pixel is a tile too).
//
// A graph redrawn from its newest primitive back to its oldest, each painted under what is
// already there, need not paint a primitive whose whole footprint is opaque: nothing of it
// could show.  A tile is rescanned only after one of its pixels turned opaque.  A long trace
// asks about every primitive it holds, so a row of tiles is one bit each and a question
// is a few word operations, answered inline.
#ifndef ZELBRIN_PLATFORM_PANEL_OPAQUE_TILES_H
#define ZELBRIN_PLATFORM_PANEL_OPAQUE_TILES_H

#include <QImage>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <vector>

class OpaqueTiles {
  public:
    // The image is ARGB32 (premultiplied or not); it must outlive this object and keep its
    // size and pixel buffer.  A tile is
    // 2^tileShift pixels on a side.
    explicit OpaqueTiles(const QImage &image, int tileShift = 2);

    // True when every pixel of the rectangle (image pixels, clipped to the image) is
    // opaque; an area wholly outside the image counts as opaque, as nothing there shows.
    bool covered(const QRect &area) {
        const Span tiles = tilesOf(area);
        for (int row = tiles.top; row <= tiles.bottom; ++row)
            for (int word = tiles.left >> 6; word <= tiles.right >> 6; ++word) {
                const std::size_t at = static_cast<std::size_t>(row) * words_ + word;
                const std::uint64_t missing = maskOf(tiles, word) & ~opaque_[at];
                if (missing != 0 && !rescan(missing, row, word))
                    return false;
            }
        return true;
    }
    // Whether the tile was opaque when last looked at; cheap, but may say false of a tile
    // that is opaque now.
    bool knownOpaque(int x, int y) const {
        const int column = x >> shift_;
        const std::size_t at = static_cast<std::size_t>(y >> shift_) * words_ + (column >> 6);
        return (opaque_[at] >> (column & 63)) & 1;
    }
    // A pixel has just turned opaque: its tile is looked at again when next asked about,
    // or, for tiles of one pixel, is opaque now.
    void pixelTurnedOpaque(int x, int y) {
        const int column = x >> shift_;
        const std::size_t at = static_cast<std::size_t>(y >> shift_) * words_ + (column >> 6);
        const std::uint64_t bit = std::uint64_t{1} << (column & 63);
        if (shift_ == 0)
            opaque_[at] |= bit;
        else
            stale_[at] |= bit;
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
    // The span's columns that fall in one 64-bit word of a row.
    static std::uint64_t maskOf(const Span &tiles, int word) {
        const int first = std::max(tiles.left - word * 64, 0);
        const int last = std::min(tiles.right - word * 64, 63);
        const std::uint64_t upTo = last == 63 ? ~std::uint64_t{0} : (std::uint64_t{2} << last) - 1;
        return upTo & ~((std::uint64_t{1} << first) - 1);
    }
    // Looks again at the missing tiles painted over since their last scan; true when all
    // of them are opaque now.
    bool rescan(std::uint64_t missing, int row, int word);
    bool tilePixelsOpaque(int column, int row) const;

    const uchar *pixels_;
    qsizetype bytesPerLine_;
    int shift_;
    int width_;
    int height_;
    int words_; // per row of tiles
    std::vector<std::uint64_t> opaque_;
    std::vector<std::uint64_t> stale_; // not opaque at the last scan, a pixel turned since
};

#endif
