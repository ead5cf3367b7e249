#include "trace_renderer.h"

#include "core/scope_setup.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace scope {

namespace {

constexpr double strokeWidth = 1.0;

// The colour over a premultiplied pixel at a coverage of 0 .. 256, two channels a product:
// a channel's sum stays below 2^16, so neither spills into the next.
QRgb over(QRgb pixel, QRgb colour, unsigned coverage) {
    constexpr QRgb pair = 0x00FF00FFU;
    const unsigned keep = 256 - coverage;
    const QRgb redBlue = (((colour & pair) * coverage + (pixel & pair) * keep) >> 8) & pair;
    const QRgb alphaGreen =
        (((colour >> 8) & pair) * coverage + ((pixel >> 8) & pair) * keep) & (pair << 8);
    return alphaGreen | redBlue;
}

// The vertical pixel of a voltage with what is the same for a whole trace worked out once: one
// division left a value, the same arithmetic as ever.
class VerticalScale {
  public:
    VerticalScale(const TraceStyle &style, double height)
        : middle_(height / 2.0), perDivision_(height / divisionsUp), offset_(style.offset),
          voltsPerDivision_(style.voltsPerDivision) {}

    double pixel(double volts) const {
        return middle_ - (volts + offset_) / voltsPerDivision_ * perDivision_;
    }

  private:
    double middle_;
    double perDivision_;
    double offset_;
    double voltsPerDivision_;
};

// The image's pixels, found once a frame rather than once a stroke.
struct Canvas {
    QRgb *pixels;
    std::ptrdiff_t stride;
    int height;
    TouchedRows &touched;
};

// A column's stroke from top to bottom (image pixels, top <= bottom): the rows between its
// ends painted outright, the two end rows by how much of them it covers.  A stroke a column
// wide needs none of a general line's geometry, and there is one for every column of every
// trace, most of them hundreds of rows tall when the whole history is on screen.
void strokeColumn(const Canvas &canvas, int x, double top, double bottom, QRgb colour) {
    top = std::clamp(top, 0.0, double(canvas.height));
    bottom = std::clamp(bottom, 0.0, double(canvas.height));
    QRgb *const pixels = canvas.pixels + x;
    const int firstRow = static_cast<int>(top);
    const int lastRow = std::min(canvas.height - 1, static_cast<int>(bottom));
    // Coverage 256 gives the colour itself and 0 the pixel as it was: no branch on which,
    // which the short strokes of a zoomed-in view would guess wrong half the time.
    const auto paintEnd = [&](int y) {
        const double covered =
            std::clamp(std::min(bottom, y + 1.0) - std::max(top, double(y)), 0.0, 1.0);
        QRgb &pixel = pixels[y * canvas.stride];
        pixel = over(pixel, colour, static_cast<unsigned>(covered * 256.0));
    };
    if (firstRow > lastRow) {
        return;
    }
    canvas.touched.touch(x, firstRow, lastRow);
    paintEnd(firstRow);
    QRgb *row = pixels + (firstRow + 1) * canvas.stride;
    for (int y = firstRow + 1; y < lastRow; ++y, row += canvas.stride) {
        *row = colour;
    }
    if (lastRow > firstRow) {
        paintEnd(lastRow);
    }
}

// The pixels of the extremes of a column's samples: its maximum's at the top.  A value's pixel
// falls as the value rises, so the pixels of the extremes are the extremes of the pixels.
struct ColumnPixels {
    double top;
    double bottom;
};

// The pixels of the extremes of a trace's columns.  Over fewer than a block of the history's
// finest level a column, the samples on screen are read once, in order, and turned into
// pixels all together, a division each and no more; each column then goes through its own:
// cheaper than a search of the blocks for each of a few samples.
class ColumnExtremes {
  public:
    ColumnExtremes(const SampleHistory &history, const TraceStyle &style, double height,
                   long long from, long long to, double perColumn)
        : history_(history), channel_(style.channel), scale_(style, height), from_(from) {
        if (perColumn < double(SampleHistory::fanOut) && from < to) {
            const std::vector<float> samples = history.read(channel_, from, to);
            pixels_.resize(samples.size());
            std::transform(samples.begin(), samples.end(), pixels_.begin(),
                           [this](float volts) { return scale_.pixel(volts); });
        }
    }

    // [from, to) within the stretch given, from < to.
    ColumnPixels operator()(long long from, long long to) const {
        if (pixels_.empty()) {
            const MinMax own = history_.minMax(channel_, from, to);
            const double top = scale_.pixel(own.max);
            return {top, own.min == own.max ? top : scale_.pixel(own.min)};
        }
        const auto first = pixels_.begin() + (from - from_);
        const auto [top, bottom] = std::minmax_element(first, first + (to - from));
        return {*top, *bottom};
    }

  private:
    const SampleHistory &history_;
    int channel_;
    VerticalScale scale_;
    long long from_;
    std::vector<double> pixels_;
};

void drawColumns(QImage &image, TouchedRows &touched, const SampleHistory &history,
                 const TraceStyle &style, double start, double perColumn, int width,
                 double height) {
    const double ratio = image.devicePixelRatio();
    const Canvas canvas{reinterpret_cast<QRgb *>(image.bits()),
                        static_cast<std::ptrdiff_t>(image.bytesPerLine() / sizeof(QRgb)),
                        image.height(), touched};
    const long long first = history.first();
    const long long total = history.total();
    // std::floor, without a call into the maths library for each column.
    const auto boundary = [&](int column) {
        const double place = start + column * perColumn;
        const auto whole = static_cast<long long>(place);
        return double(whole) > place ? whole - 1 : whole;
    };
    const ColumnExtremes extremes(history, style, height, std::max(first, boundary(0)),
                                  std::min(total, boundary(width)), perColumn);
    bool joined = false;
    ColumnPixels previous{};
    long long next = boundary(0);
    int x = 0; // the image's first pixel of the column
    for (int column = 0; column < width; ++column) {
        const int firstX = std::exchange(x, static_cast<int>((column + 1) * ratio));
        const long long from = std::max(first, next);
        next = boundary(column + 1);
        const long long to = std::min(total, next);
        if (from >= to) {
            joined = false;
            continue;
        }
        const ColumnPixels own = extremes(from, to);
        // Reaching to the column before keeps a steep edge one stroke instead of dots.
        const double top =
            (joined ? std::min(own.top, previous.bottom) : own.top) - strokeWidth / 2.0;
        const double bottom =
            (joined ? std::max(own.bottom, previous.top) : own.bottom) + strokeWidth / 2.0;
        for (int at = firstX; at < x; ++at) {
            strokeColumn(canvas, at, top * ratio, bottom * ratio, style.colour);
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
    return VerticalScale(style, height).pixel(volts);
}

double voltsOfPixel(double y, const TraceStyle &style, double height) {
    const double perDivision = height / divisionsUp;
    return (height / 2.0 - y) / perDivision * style.voltsPerDivision - style.offset;
}

void drawTraces(QImage &image, TouchedRows &touched, const SampleHistory &history,
                std::span<const TraceStyle> styles, double start, double span) {
    const double ratio = image.devicePixelRatio();
    const int width = static_cast<int>(image.width() / ratio);
    const double height = image.height() / ratio;
    if (width <= 0 || span <= 0.0 || history.total() == 0) {
        return;
    }
    const double perColumn = span / width;
    if (perColumn >= 1.0) {
        for (const TraceStyle &style : styles) {
            drawColumns(image, touched, history, style, start, perColumn, width, height);
        }
        return;
    }
    // Zoomed in to fewer samples than columns: lines from sample to sample.
    touched.touchAll();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const TraceStyle &style : styles) {
        drawSamples(painter, history, style, start, perColumn, width, height);
    }
}

} // namespace scope
