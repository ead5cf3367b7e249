// Which parts of a picture are already fully opaque, in tiles of 4 x 4 pixels.
//
// A graph redrawn from its newest primitive back to its oldest, each painted under what is
// already there, need not paint a primitive whose whole footprint is opaque: nothing of it
// could show.  A tile is rescanned only after something was painted over it.
#ifndef PLATFORM_PANEL_OPAQUE_TILES_H
#define PLATFORM_PANEL_OPAQUE_TILES_H

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

namespace panel {

class OpaqueTiles {
  public:
    // The image is ARGB32 (premultiplied or not); it must outlive this object.
    explicit OpaqueTiles(const QImage &image);

    // True when every pixel of the rectangle (image pixels, clipped to the image) is
    // opaque; an area wholly outside the image counts as opaque, as nothing there shows.
    bool covered(const QRect &area);
    // Something was painted in the rectangle: its tiles that were not opaque are rescanned
    // when next asked.
    void painted(const QRect &area);

  private:
    static constexpr int kTile = 4;
    enum class State : std::uint8_t { Clear, Stale, Opaque };
    bool tileOpaque(int column, int row);
    QRect tilesOf(const QRect &area) const;

    const QImage &image_;
    int columns_;
    int rows_;
    std::vector<State> states_;
};

} // namespace panel

#endif
