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

} // namespace

TraceRaster::TraceRaster(QImage &image, Mode mode)
    : image_(image), mode_(mode), ratio_(image.devicePixelRatio()),
      pixels_(reinterpret_cast<QRgb *>(image.bits())), stride_(image.bytesPerLine() / 4) {}

void TraceRaster::blend(int x, int y, QRgb rgb, double coverage) {
    const auto alpha = static_cast<quint32>(std::min(coverage, 1.0) * 255.0 + 0.5);
    if (alpha == 0)
        return;
    QRgb *pixel = pixels_ + std::ptrdiff_t(y) * stride_ + x;
    const QRgb dst = *pixel;
    const quint32 src[4] = {alpha, times(qRed(rgb), alpha), times(qGreen(rgb), alpha),
                            times(qBlue(rgb), alpha)};
    const quint32 old[4] = {quint32(qAlpha(dst)), quint32(qRed(dst)), quint32(qGreen(dst)),
                            quint32(qBlue(dst))};
    quint32 out[4];
    if (mode_ == Mode::Over) {
        for (int c = 0; c < 4; ++c)
            out[c] = src[c] + times(old[c], 255 - alpha);
    } else {
        if (old[0] == 255)
            return;
        for (int c = 0; c < 4; ++c)
            out[c] = old[c] + times(src[c], 255 - old[0]);
    }
    *pixel = qRgba(int(out[1]), int(out[2]), int(out[3]), int(out[0]));
}

// Coverage of a pixel falls off linearly from the pen's edge to half a pixel beyond it,
// by the distance of the pixel's centre from the segment.
void TraceRaster::line(QPointF a, QPointF b, QRgb rgb, double width) {
    a *= ratio_;
    b *= ratio_;
    const double reach = width * ratio_ / 2.0 + 0.5;
    const QPointF along = b - a;
    const double length = std::sqrt(along.x() * along.x() + along.y() * along.y());
    const QPointF unit = length > 1e-9 ? along / length : QPointF(1.0, 0.0);
    const int firstRow = std::max(0, int(std::floor(std::min(a.y(), b.y()) - reach)));
    const int lastRow =
        std::min(image_.height() - 1, int(std::ceil(std::max(a.y(), b.y()) + reach)));
    for (int y = firstRow; y <= lastRow; ++y) {
        const double cy = y + 0.5 - a.y();
        // Centres within reach across the segment's line and along it, as x ranges.
        double low = std::min(a.x(), b.x()) - reach;
        double high = std::max(a.x(), b.x()) + reach;
        if (std::abs(unit.y()) > 1e-9) {
            const double across1 = a.x() + (cy * unit.x() - reach) / unit.y();
            const double across2 = a.x() + (cy * unit.x() + reach) / unit.y();
            low = std::max(low, std::min(across1, across2));
            high = std::min(high, std::max(across1, across2));
        } else if (std::abs(cy) > reach) {
            continue;
        }
        const int firstColumn = std::max(0, int(std::ceil(low - 0.5)));
        const int lastColumn = std::min(image_.width() - 1, int(std::floor(high - 0.5)));
        const QRgb *row = pixels_ + std::ptrdiff_t(y) * stride_;
        for (int x = firstColumn; x <= lastColumn; ++x) {
            // Painting under an opaque pixel changes nothing.
            if (mode_ == Mode::Under && qAlpha(row[x]) == 255)
                continue;
            const double cx = x + 0.5 - a.x();
            const double t = std::clamp(cx * unit.x() + cy * unit.y(), 0.0, length);
            const double dx = cx - t * unit.x();
            const double dy = cy - t * unit.y();
            const double squared = dx * dx + dy * dy;
            if (squared < reach * reach)
                blend(x, y, rgb, reach - std::sqrt(squared));
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
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = firstColumn; x <= lastColumn; ++x)
            blend(x, y, rgb, overlap(x, left, right) * overlap(y, top, bottom));
}

} // namespace panel
