// Draws a graph's traces straight into a premultiplied ARGB32 image: antialiased lines of
// one width and filled squares.  A long trace is mostly short segments, for which a
// general painter's set-up per call costs far more than the few pixels they touch.
//
// Over paints in plotting order, each primitive on top; Under paints newest first, each
// under what is there, which gives the same picture up to rounding and leaves pixels that
// are already opaque untouched.
#ifndef ZELBRIN_PLATFORM_PANEL_TRACE_RASTER_H
#define ZELBRIN_PLATFORM_PANEL_TRACE_RASTER_H

#include <QImage>
#include <QPointF>
#include <cstddef>

namespace panel {

class TraceRaster {
  public:
    enum class Mode { Over, Under };

    // Points are in the image's logical units (its device pixel ratio applies).
    TraceRaster(QImage &image, Mode mode);

    void line(QPointF a, QPointF b, QRgb rgb, double width);
    void square(QPointF centre, double side, QRgb rgb);

  private:
    void blend(int x, int y, QRgb rgb, double coverage);

    QImage &image_;
    Mode mode_;
    double ratio_;
    QRgb *pixels_;
    std::ptrdiff_t stride_; // in pixels
};

} // namespace panel

#endif
