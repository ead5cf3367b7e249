#include "trace_renderer.h"

#include "core/scope_setup.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace scope {

namespace {

constexpr double strokeWidth = 1.0;

// The colour over a premultiplied pixel at a coverage of 0 .. 256.
QRgb over(QRgb pixel, QRgb colour, unsigned coverage) {
    const unsigned keep = 256 - coverage;
    const auto mix = [&](int shift) {
        return ((((colour >> shift) & 0xFF) * coverage + ((pixel >> shift) & 0xFF) * keep) >> 8)
               << shift;
    };
    return mix(24) | mix(16) | mix(8) | mix(0);
}

// A column's stroke from top to bottom (image pixels, top <= bottom): the rows between its
// ends painted outright, the two end rows by how much of them it covers.  A stroke a column
// wide needs none of a general line's geometry, and there is one for every column of every
// trace, most of them hundreds of rows tall when the whole history is on screen.
void strokeColumn(QImage &image, int x, double top, double bottom, QRgb colour) {
    const int height = image.height();
    top = std::clamp(top, 0.0, double(height));
    bottom = std::clamp(bottom, 0.0, double(height));
    const auto stride = static_cast<std::ptrdiff_t>(image.bytesPerLine() / sizeof(QRgb));
    QRgb *const pixels = reinterpret_cast<QRgb *>(image.bits()) + x;
    const int firstRow = static_cast<int>(top);
    const int lastRow = std::min(height - 1, static_cast<int>(bottom));
    const auto paintEnd = [&](int y) {
        const double covered = std::min(bottom, y + 1.0) - std::max(top, double(y));
        QRgb &pixel = pixels[y * stride];
        if (covered >= 1.0) {
            pixel = colour;
        } else if (covered > 0.0) {
            pixel = over(pixel, colour, static_cast<unsigned>(covered * 256.0));
        }
    };
    if (firstRow > lastRow) {
        return;
    }
    paintEnd(firstRow);
    QRgb *row = pixels + (firstRow + 1) * stride;
    for (int y = firstRow + 1; y < lastRow; ++y, row += stride) {
        *row = colour;
    }
    if (lastRow > firstRow) {
        paintEnd(lastRow);
    }
}

void drawColumns(QImage &image, const SampleHistory &history, const TraceStyle &style, double start,
                 double perColumn, int width, double height) {
    const double ratio = image.devicePixelRatio();
    const long long first = history.first();
    const long long total = history.total();
    bool joined = false;
    MinMax previous{};
    for (int column = 0; column < width; ++column) {
        const long long from =
            std::max(first, static_cast<long long>(std::floor(start + column * perColumn)));
        const long long to =
            std::min(total, static_cast<long long>(std::floor(start + (column + 1) * perColumn)));
        if (from >= to) {
            joined = false;
            continue;
        }
        MinMax span = history.minMax(style.channel, from, to);
        const MinMax own = span;
        // Reaching to the column before keeps a steep edge one stroke instead of dots.
        if (joined) {
            span.min = std::min(span.min, previous.max);
            span.max = std::max(span.max, previous.min);
        }
        const double top = pixelOfVolts(span.max, style, height) - strokeWidth / 2.0;
        const double bottom = pixelOfVolts(span.min, style, height) + strokeWidth / 2.0;
        for (int x = static_cast<int>(column * ratio); x < static_cast<int>((column + 1) * ratio);
             ++x) {
            strokeColumn(image, x, top * ratio, bottom * ratio, style.colour);
        }
        previous = own;
        joined = true;
    }
}

void drawSamples(QPainter &painter, const SampleHistory &history, const TraceStyle &style,
                 double start, double perColumn, int width, double height) {
    const long long from = std::max(history.first(), static_cast<long long>(std::floor(start)));
    const long long to =
        std::min(history.total(), static_cast<long long>(std::ceil(start + width * perColumn)) + 1);
    QPolygonF line;
    for (long long index = from; index < to; ++index) {
        line << QPointF((double(index) - start) / perColumn,
                        pixelOfVolts(history.at(style.channel, index), style, height));
    }
    painter.setPen(QPen(QColor::fromRgb(style.colour), strokeWidth));
    painter.drawPolyline(line);
}

} // namespace

double pixelOfVolts(double volts, const TraceStyle &style, double height) {
    const double perDivision = height / divisionsUp;
    return height / 2.0 - (volts + style.offset) / style.voltsPerDivision * perDivision;
}

double voltsOfPixel(double y, const TraceStyle &style, double height) {
    const double perDivision = height / divisionsUp;
    return (height / 2.0 - y) / perDivision * style.voltsPerDivision - style.offset;
}

void drawTraces(QImage &image, const SampleHistory &history, std::span<const TraceStyle> styles,
                double start, double span) {
    const double ratio = image.devicePixelRatio();
    const int width = static_cast<int>(image.width() / ratio);
    const double height = image.height() / ratio;
    if (width <= 0 || span <= 0.0 || history.total() == 0) {
        return;
    }
    const double perColumn = span / width;
    if (perColumn >= 1.0) {
        for (const TraceStyle &style : styles) {
            drawColumns(image, history, style, start, perColumn, width, height);
        }
        return;
    }
    // Zoomed in to fewer samples than columns: lines from sample to sample.
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const TraceStyle &style : styles) {
        drawSamples(painter, history, style, start, perColumn, width, height);
    }
}

} // namespace scope
