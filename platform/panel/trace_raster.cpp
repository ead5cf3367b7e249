#include "trace_raster.h"

#include <algorithm>
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

// Coverage from 0 on, as an alpha rounded to the nearest step.
quint32 alphaOf(double coverage) {
    return static_cast<quint32>(TraceRaster::floorNear(std::min(coverage, 1.0) * 255.0 + 0.5));
}

template <TraceRaster::Mode mode> inline void blend(QRgb &pixel, QRgb rgb, quint32 alpha) {
    if (alpha == 0) {
        return;
    }
    const QRgb dst = pixel;
    const quint32 src[4] = {alpha, times(qRed(rgb), alpha), times(qGreen(rgb), alpha),
                            times(qBlue(rgb), alpha)};
    const quint32 old[4] = {quint32(qAlpha(dst)), quint32(qRed(dst)), quint32(qGreen(dst)),
                            quint32(qBlue(dst))};
    quint32 out[4];
    if constexpr (mode == TraceRaster::Mode::Over) {
        for (int c = 0; c < 4; ++c) {
            out[c] = src[c] + times(old[c], 255 - alpha);
        }
    } else {
        // No colour can gain more than the alpha gains.
        if (times(alpha, 255 - old[0]) == 0) {
            return;
        }
        for (int c = 0; c < 4; ++c) {
            out[c] = old[c] + times(src[c], 255 - old[0]);
        }
    }
    pixel = qRgba(int(out[1]), int(out[2]), int(out[3]), int(out[0]));
}

} // namespace

TraceRaster::TraceRaster(QImage &image, Mode mode)
    : image_(image), mode_(mode), ratio_(image.devicePixelRatio()),
      pixels_(reinterpret_cast<QRgb *>(image.bits())), stride_(image.bytesPerLine() / 4) {
    if (mode == Mode::Under) {
        opaquePixels_.emplace(image.size(), 0);
        opaqueTiles_.emplace(image.size(), kTileShift);
    }
}

template <TraceRaster::Mode mode>
inline void TraceRaster::paint(int x, int y, QRgb rgb, quint32 alpha) {
    QRgb &pixel = pixels_[std::ptrdiff_t(y) * stride_ + x];
    blend<mode>(pixel, rgb, alpha);
    if constexpr (mode == Mode::Under) {
        if (qAlpha(pixel) == 255) {
            opaquePixels_->turnedOpaque(x, y);
            if (opaquePixels_->covered(QRect(x & -kTile, y & -kTile, kTile, kTile))) {
                opaqueTiles_->turnedOpaque(x, y);
            }
        }
    }
}

QRect TraceRaster::lineReach(const QRectF &box, double width) const {
    const double reach = width * ratio_ / 2.0 + 0.5;
    return {QPoint(-floorNear(0.5 - (box.left() * ratio_ - reach)),
                   -floorNear(0.5 - (box.top() * ratio_ - reach))),
            QPoint(floorNear(box.right() * ratio_ + reach - 0.5),
                   floorNear(box.bottom() * ratio_ + reach - 0.5))};
}

QRect TraceRaster::squareReach(const QRectF &box, double side) const {
    const double half = side * ratio_ / 2.0;
    return {QPoint(floorNear(box.left() * ratio_ - half), floorNear(box.top() * ratio_ - half)),
            QPoint(floorNear(box.right() * ratio_ + half),
                   floorNear(box.bottom() * ratio_ + half))};
}

void TraceRaster::line(QPointF a, QPointF b, QRgb rgb, double width) {
    if (mode_ == Mode::Over) {
        line<Mode::Over>(a, b, rgb, width);
    } else {
        line<Mode::Under>(a, b, rgb, width);
    }
}

// Coverage of a pixel falls off linearly from the pen's edge to half a pixel beyond it,
// by the distance of the pixel's centre from the segment.  A redraw runs this for
// hundreds of thousands of short segments, so each row's span takes no division, and
// under, a row or pixel already opaque is passed over by its bit alone.
template <TraceRaster::Mode mode>
void TraceRaster::line(QPointF a, QPointF b, QRgb rgb, double width) {
    a *= ratio_;
    b *= ratio_;
    const double reach = width * ratio_ / 2.0 + 0.5;
    const double reachSquared = reach * reach;
    const QPointF along = b - a;
    const double length = std::sqrt(along.x() * along.x() + along.y() * along.y());
    const QPointF unit = length > 1e-9 ? along / length : QPointF(1.0, 0.0);
    const bool crossesRows = std::abs(unit.y()) > 1e-9;
    // Per row down, where the band of centres within reach of the line moves across, and
    // half its width.
    const double shift = crossesRows ? unit.x() / unit.y() : 0.0;
    const double halfBand = crossesRows ? reach / std::abs(unit.y()) : 0.0;
    const double left = std::min(a.x(), b.x()) - reach;
    const double right = std::max(a.x(), b.x()) + reach;
    const int firstRow = std::max(0, floorNear(std::min(a.y(), b.y()) - reach));
    const int lastRow = std::min(image_.height() - 1, floorNear(std::max(a.y(), b.y()) + reach));
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
        const int lastColumn = std::min(image_.width() - 1, floorNear(high - 0.5));
        if constexpr (mode == Mode::Under) {
            if (opaquePixels_->covered(QRect(QPoint(firstColumn, y), QPoint(lastColumn, y)))) {
                continue;
            }
        }
        for (int x = firstColumn; x <= lastColumn; ++x) {
            if constexpr (mode == Mode::Under) {
                if (opaquePixels_->opaqueAt(x, y)) {
                    continue;
                }
            }
            const double cx = x + 0.5 - a.x();
            const double t = std::clamp(cx * unit.x() + cy * unit.y(), 0.0, length);
            const double dx = cx - t * unit.x();
            const double dy = cy - t * unit.y();
            const double squared = dx * dx + dy * dy;
            if (squared < reachSquared) {
                paint<mode>(x, y, rgb, alphaOf(reach - std::sqrt(squared)));
            }
        }
    }
}

void TraceRaster::square(QPointF centre, double side, QRgb rgb) {
    centre *= ratio_;
    const double half = side * ratio_ / 2.0;
    const double left = centre.x() - half, right = centre.x() + half;
    const double top = centre.y() - half, bottom = centre.y() + half;
    const int firstRow = std::max(0, int(std::floor(top)));
    const int lastRow = std::min(image_.height() - 1, int(std::floor(bottom)));
    const int firstColumn = std::max(0, int(std::floor(left)));
    const int lastColumn = std::min(image_.width() - 1, int(std::floor(right)));
    for (int y = firstRow; y <= lastRow; ++y) {
        for (int x = firstColumn; x <= lastColumn; ++x) {
            if (mode_ == Mode::Over) {
                paint<Mode::Over>(x, y, rgb,
                                  alphaOf(overlap(x, left, right) * overlap(y, top, bottom)));
            } else {
                paint<Mode::Under>(x, y, rgb,
                                   alphaOf(overlap(x, left, right) * overlap(y, top, bottom)));
            }
        }
    }
}

} // namespace panel
