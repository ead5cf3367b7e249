// Draws a graph's traces straight into a premultiplied ARGB32 image: antialiased lines of
// one width and filled squares.  A long trace is mostly short segments, for which a
// general painter's set-up per call costs far more than the few pixels they touch.
//
// Over paints in plotting order, each primitive on top; Under paints newest first, each
// under what is there, which gives the same picture up to rounding and leaves pixels that
// are already opaque untouched.  Under starts on a transparent image and keeps track of
// the pixels it makes opaque, so that whoever paints a long trace can ask whether a
// primitive could still show at all.
#ifndef PLATFORM_UIRUNTIME_PANEL_GRAPH_TRACE_RASTER_H
#define PLATFORM_UIRUNTIME_PANEL_GRAPH_TRACE_RASTER_H

#include "colour_shades.h"
#include "opaque_pixels.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <cstddef>
#include <optional>

namespace panel {

class TraceRaster {
  public:
    enum class Mode { Over, Under };

    // Points are in the image's logical units (its device pixel ratio applies).  Under
    // takes the image to be transparent.
    TraceRaster(QImage &image, Mode mode);

    // floor() of a coordinate near the image (above -2^20 pixels), by truncation: a full
    // redraw takes several for each of hundreds of thousands of primitives and rows.
    static int floorNear(double value) {
        constexpr int offset = 1 << 20;
        return static_cast<int>(value + offset) - offset;
    }

    void line(QPointF a, QPointF b, QRgb rgb, double width);
    void square(QPointF centre, double side, QRgb rgb);

    // The image pixels (not clipped to the image) that a line of the width with both ends
    // in the box, or a square of the side centred in it, could paint: the area to ask
    // covered() about before painting it.
    QRect lineReach(const QRectF &box, double width) const {
        const double reach = width * ratio_ / 2.0 + 0.5;
        return {QPoint(-floorNear(0.5 - (box.left() * ratio_ - reach)),
                       -floorNear(0.5 - (box.top() * ratio_ - reach))),
                QPoint(floorNear(box.right() * ratio_ + reach - 0.5),
                       floorNear(box.bottom() * ratio_ + reach - 0.5))};
    }
    QRect squareReach(const QRectF &box, double side) const {
        const double half = side * ratio_ / 2.0;
        return {QPoint(floorNear(box.left() * ratio_ - half), floorNear(box.top() * ratio_ - half)),
                QPoint(floorNear(box.right() * ratio_ + half),
                       floorNear(box.bottom() * ratio_ + half))};
    }

    // Under only: true when every pixel of the area (image pixels, clipped to the image) is
    // opaque already, so that nothing painted under it could show.
    bool covered(const QRect &area) const { return opaque_->covered(area); }

    // What a primitive paints with: its colour and, under, the colour's shades.
    struct Ink {
        QRgb rgb;
        const ColourShades::Shades *shades;
    };

  private:
    template <Mode mode> Ink inkOf(QRgb rgb);
    template <Mode mode> void line(QPointF a, QPointF b, QRgb rgb, double width);
    template <Mode mode> void square(QPointF centre, double side, QRgb rgb);
    // Calls visit(x) for the columns of row y from first to last that painting could
    // change: all of them over, those not yet opaque under.
    template <Mode mode, typename Visit>
    void forEachPaintable(int y, int firstColumn, int lastColumn, Visit visit);
    // Blends and, under, keeps track of the pixel turning opaque.
    template <Mode mode> void paint(int x, int y, const Ink &ink, int alpha);

    Mode mode_;
    double ratio_;
    int width_; // of the image, in pixels: asked for every row of every line
    int height_;
    QRgb *pixels_;
    std::ptrdiff_t stride_; // in pixels
    // Under only: the pixels already opaque, which painting passes over, and the shades of
    // the colours painted.
    std::optional<OpaquePixels> opaque_;
    ColourShades shades_;
};

} // namespace panel

#endif
