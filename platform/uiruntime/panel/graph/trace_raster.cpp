#include "trace_raster.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace panel {

namespace {

// x * y / 255, rounded, for 0 <= x, y <= 255.
inline quint32 times(quint32 x, quint32 y) {
    const quint32 t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}

// How much of the pixel [p, p + 1) the interval [low, high] covers.
double overlap(int p, double low, double high) {
    return std::max(0.0, std::min(p + 1.0, high) - std::max(double(p), low));
}

// Coverage as an alpha rounded to the nearest step, 0 or less where nothing is covered:
// only a coverage above 0 needs rounding, so truncation does.
int alphaOf(double coverage) {
    return std::min(static_cast<int>(coverage * 255.0 + 0.5), 255); // NOLINT(*-incorrect-roundings)
}

// distance * keep / 255 rounded to nearest, for -255 <= distance <= 255 and 0 <= keep < 255,
// but at least one step nearer zero than distance: rounding must not stop a pixel short of
// where exact arithmetic takes it.
inline int shrink(int distance, int keep) {
    const int product = distance * keep;
    const int rounded = (product + (product >= 0 ? 127 : -127)) / 255;
    // Without a branch: whether rounding stalled depends on the pixel, not on a pattern.
    const int sign = (distance > 0) - (distance < 0);
    return rounded - sign * static_cast<int>(rounded == distance);
}

// Blends the colour rgb at the given coverage into the premultiplied pixel.
//
// A pixel hit again and again by a faint fringe would, with every blend rounded to
// nearest, settle short of opaque, or short of its colour, wherever rounding stops its
// steps; painting under would then have to go on painting it, and the two orders would
// settle in different places.  So each blend takes at least one step towards where it
// leads: over, each channel's distance from the colour painted shrinks by the coverage;
// under, the transparency shrinks as it does over, and each colour channel gains what the
// colour painted adds between the old alpha and the new, so that a run of blends of one
// colour leaves a pixel exact to one step.
template <TraceRaster::Mode mode>
inline void blend(QRgb &pixel, const TraceRaster::Ink &ink, int alpha) {
    if (alpha <= 0) {
        return;
    }
    const QRgb old = pixel;
    const int oldAlpha = qAlpha(old);
    if constexpr (mode == TraceRaster::Mode::Over) {
        const int newAlpha = 255 - shrink(255 - oldAlpha, 255 - alpha);
        const int colour[3] = {qRed(ink.rgb), qGreen(ink.rgb), qBlue(ink.rgb)};
        const int was[3] = {qRed(old), qGreen(old), qBlue(old)};
        int out[3];
        for (int c = 0; c < 3; ++c) {
            out[c] = std::min(colour[c] - shrink(colour[c] - was[c], 255 - alpha), newAlpha);
        }
        pixel = qRgba(out[0], out[1], out[2], newAlpha);
    } else {
        if (oldAlpha == 255) {
            return;
        }
        const int newAlpha = 255 - shrink(255 - oldAlpha, 255 - alpha);
        // Each channel of the newer shade is at least the older's, and gains no more than
        // the alpha does, so no byte borrows from or carries into the next.
        pixel = old + (*ink.shades)[newAlpha] - (*ink.shades)[oldAlpha];
    }
}

} // namespace

TraceRaster::TraceRaster(QImage &image, Mode mode)
    : mode_(mode), ratio_(image.devicePixelRatio()), width_(image.width()), height_(image.height()),
      pixels_(reinterpret_cast<QRgb *>(image.bits())), stride_(image.bytesPerLine() / 4) {
    if (mode == Mode::Under) {
        opaque_.emplace(image.size());
    }
}

template <TraceRaster::Mode mode>
inline void TraceRaster::paint(int x, int y, const Ink &ink, int alpha) {
    QRgb &pixel = pixels_[std::ptrdiff_t(y) * stride_ + x];
    blend<mode>(pixel, ink, alpha);
    if constexpr (mode == Mode::Under) {
        if (qAlpha(pixel) == 255) {
            opaque_->turnedOpaque(x, y);
        }
    }
}

template <TraceRaster::Mode mode> TraceRaster::Ink TraceRaster::inkOf(QRgb rgb) {
    if constexpr (mode == Mode::Under) {
        return {rgb, &shades_.of(rgb)};
    }
    return {rgb, nullptr};
}

void TraceRaster::line(QPointF a, QPointF b, QRgb rgb, double width) {
    if (mode_ == Mode::Over) {
        line<Mode::Over>(a, b, rgb, width);
    } else {
        line<Mode::Under>(a, b, rgb, width);
    }
}

template <TraceRaster::Mode mode, typename Visit>
inline void TraceRaster::forEachPaintable(int y, int firstColumn, int lastColumn, Visit visit) {
    if constexpr (mode == Mode::Over) {
        for (int x = firstColumn; x <= lastColumn; ++x) {
            visit(x);
        }
    } else {
        // A row's span is a few pixels but for a long flat line: one window does.
        for (int from = firstColumn; from <= lastColumn; from += OpaquePixels::windowPixels) {
            const std::uint64_t span =
                OpaquePixels::spanOf(std::min(lastColumn - from + 1, OpaquePixels::windowPixels));
            for (std::uint64_t open = span & ~opaque_->window(from, y); open != 0;
                 open &= open - 1) {
                visit(from + std::countr_zero(open));
            }
        }
    }
}

// Coverage of a pixel falls off linearly from the pen's edge to half a pixel beyond it,
// by the distance of the pixel's centre from the segment.  A redraw runs this for
// hundreds of thousands of short segments, so each row's span takes no division, a pixel's
// distance takes no branch, and under, the pixels already opaque are passed over a window
// of them at a time.
template <TraceRaster::Mode mode>
void TraceRaster::line(QPointF a, QPointF b, QRgb rgb, double width) {
    const Ink ink = inkOf<mode>(rgb);
    a *= ratio_;
    b *= ratio_;
    const double reach = width * ratio_ / 2.0 + 0.5;
    const QPointF ab = b - a;
    const double length = std::sqrt(ab.x() * ab.x() + ab.y() * ab.y());
    const QPointF unit = length > 1e-9 ? ab * (1.0 / length) : QPointF(1.0, 0.0);
    const bool crossesRows = std::abs(unit.y()) > 1e-9;
    // Per row down, where the band of centres within reach of the line moves across, and
    // half its width.
    const double rowsPerStep = crossesRows ? 1.0 / unit.y() : 0.0;
    const double shift = unit.x() * rowsPerStep;
    const double halfBand = reach * std::abs(rowsPerStep);
    const double left = std::min(a.x(), b.x()) - reach;
    const double right = std::max(a.x(), b.x()) + reach;
    const int firstRow = std::max(0, floorNear(std::min(a.y(), b.y()) - reach));
    const int lastRow = std::min(height_ - 1, floorNear(std::max(a.y(), b.y()) + reach));
    for (int y = firstRow; y <= lastRow; ++y) {
        const double cy = y + 0.5 - a.y();
        // Centres within reach across the segment's line and along it, as x ranges.
        double low = left;
        double high = right;
        if (crossesRows) {
            const double across = a.x() + cy * shift;
            low = std::max(low, across - halfBand);
            high = std::min(high, across + halfBand);
        } else if (std::abs(cy) > reach) {
            continue;
        }
        // Columns whose centres x + 0.5 lie in [low, high].
        const int firstColumn = std::max(0, -floorNear(0.5 - low));
        const int lastColumn = std::min(width_ - 1, floorNear(high - 0.5));
        forEachPaintable<mode>(y, firstColumn, lastColumn, [&](int x) {
            // Across the segment's line, and along it past the nearer end if beyond one.
            const double cx = x + 0.5 - a.x();
            const double along = cx * unit.x() + cy * unit.y();
            const double beyond = std::max({0.0, -along, along - length});
            const double across = cx * unit.y() - cy * unit.x();
            const int alpha = alphaOf(reach - std::sqrt(beyond * beyond + across * across));
            if (alpha > 0) {
                paint<mode>(x, y, ink, alpha);
            }
        });
    }
}

void TraceRaster::square(QPointF centre, double side, QRgb rgb) {
    if (mode_ == Mode::Over) {
        square<Mode::Over>(centre, side, rgb);
    } else {
        square<Mode::Under>(centre, side, rgb);
    }
}

template <TraceRaster::Mode mode> void TraceRaster::square(QPointF centre, double side, QRgb rgb) {
    const Ink ink = inkOf<mode>(rgb);
    centre *= ratio_;
    const double half = side * ratio_ / 2.0;
    const double left = centre.x() - half, right = centre.x() + half;
    const double top = centre.y() - half, bottom = centre.y() + half;
    const int firstRow = std::max(0, int(std::floor(top)));
    const int lastRow = std::min(height_ - 1, int(std::floor(bottom)));
    const int firstColumn = std::max(0, int(std::floor(left)));
    const int lastColumn = std::min(width_ - 1, int(std::floor(right)));
    for (int y = firstRow; y <= lastRow; ++y) {
        for (int x = firstColumn; x <= lastColumn; ++x) {
            paint<mode>(x, y, ink, alphaOf(overlap(x, left, right) * overlap(y, top, bottom)));
        }
    }
}

} // namespace panel
