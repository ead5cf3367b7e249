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

// The vertical pixel of a voltage with what is the same for a whole trace worked out once.  In
// single precision, a thousandth of a pixel at worst over any screen, so that a window's samples
// go four to a vector.
class VerticalScale {
  public:
    VerticalScale(const TraceStyle &style, double height)
        : middle_(float(height / 2.0)), offset_(float(style.offset)),
          pixelsPerVolt_(float(height / divisionsUp / style.voltsPerDivision)) {}

    float pixel(float volts) const { return middle_ - (volts + offset_) * pixelsPerVolt_; }

  private:
    float middle_;
    float offset_;
    float pixelsPerVolt_;
};

// An image row in 256ths, so that a stroke's rows and the coverage of its ends come of shifts
// and masks, with no rounding a column.
using Fixed = int;
constexpr int fixedShift = 8;
constexpr Fixed fixedOne = 1 << fixedShift;

// floor(row * 256), with rows so far off the image that they would not fit an int held where
// they are still off it.  No call into the maths library and no branch, so that a run of them
// compiles to a few vector instructions (which is why this file is built without trapping
// maths: the comparison would otherwise be kept a branch).
Fixed fixedOf(float row) {
    constexpr float farOff = 1 << 29;
    const float scaled = std::min(std::max(row * fixedOne, -farOff), farOff);
    const auto whole = static_cast<Fixed>(scaled);
    return float(whole) > scaled ? whole - 1 : whole;
}

// The image's pixels, found once a frame rather than once a stroke.
struct Canvas {
    explicit Canvas(QImage &image, TouchedRows &touched)
        : pixels(reinterpret_cast<QRgb *>(image.bits())),
          stride(static_cast<std::ptrdiff_t>(image.bytesPerLine() / sizeof(QRgb))),
          height(image.height()), ratio(image.devicePixelRatio()), touched(touched) {}
    QRgb *pixels;
    std::ptrdiff_t stride;
    int height;
    double ratio;
    TouchedRows &touched;
};

// A column's stroke from top to bottom (top <= bottom): the rows between its ends painted
// outright, the two end rows by how much of them it covers.  A stroke a column wide needs none
// of a general line's geometry, and there is one for every column of every trace.
void strokeColumn(const Canvas &canvas, int x, Fixed top, Fixed bottom, QRgb colour) {
    const Fixed floor = canvas.height << fixedShift;
    top = std::min(std::max(top, 0), floor);
    bottom = std::min(std::max(bottom, 0), floor);
    const int firstRow = top >> fixedShift;
    const int lastRow = std::min(canvas.height - 1, bottom >> fixedShift);
    if (firstRow > lastRow) {
        return;
    }
    canvas.touched.touch(x, firstRow, lastRow);
    QRgb *const first = canvas.pixels + firstRow * canvas.stride + x;
    QRgb *const last = canvas.pixels + lastRow * canvas.stride + x;
    *first = over(*first, colour,
                  static_cast<unsigned>(std::min(bottom, (firstRow + 1) << fixedShift) - top));
    for (QRgb *row = first + canvas.stride; row < last; row += canvas.stride) {
        *row = colour;
    }
    // A stroke of one row puts nothing over it a second time.
    const Fixed lastCovered = lastRow > firstRow ? bottom - (lastRow << fixedShift) : 0;
    *last = over(*last, colour, static_cast<unsigned>(lastCovered));
}

// The extremes of a column's samples as image rows, its maximum's at the top: a value's row
// falls as the value rises, so the rows of the extremes are the extremes of the rows.
struct ColumnRows {
    Fixed top;
    Fixed bottom;
};

// The rows of the extremes of a trace's columns.  Over fewer than a block of the history's
// finest level a column, the samples on screen are read once, in order, and turned into rows
// all together; each column then goes through its own: cheaper than a search of the blocks for
// each of a few samples.
class ColumnExtremes {
  public:
    ColumnExtremes(const SampleHistory &history, const TraceStyle &style, const Canvas &canvas,
                   long long from, long long to, double perColumn)
        : history_(history),
          channel_(style.channel), rowOf_{VerticalScale(style, canvas.height / canvas.ratio),
                                          float(canvas.ratio)},
          from_(from) {
        if (perColumn < double(SampleHistory::fanOut) && from < to) {
            const std::vector<float> samples = history.read(channel_, from, to);
            rows_.resize(samples.size());
            // A copy the compiler knows nothing writes to, so that it can make vectors of this.
            const RowOf rowOf = rowOf_;
            for (std::size_t at = 0; at < samples.size(); ++at) {
                rows_[at] = rowOf(samples[at]);
            }
        }
    }

    // [from, to) within the stretch given, from < to.
    ColumnRows operator()(long long from, long long to) const {
        if (rows_.empty()) {
            const MinMax own = history_.minMax(channel_, from, to);
            const Fixed top = rowOf_(own.max);
            return {top, own.min == own.max ? top : rowOf_(own.min)};
        }
        ColumnRows rows{rows_[from - from_], rows_[from - from_]};
        for (long long at = from + 1; at < to; ++at) {
            rows.top = std::min(rows.top, rows_[at - from_]);
            rows.bottom = std::max(rows.bottom, rows_[at - from_]);
        }
        return rows;
    }

  private:
    // A voltage's row in the image's pixels.
    struct RowOf {
        VerticalScale scale;
        float ratio;
        Fixed operator()(float volts) const { return fixedOf(scale.pixel(volts) * ratio); }
    };

    const SampleHistory &history_;
    int channel_;
    RowOf rowOf_;
    long long from_;
    std::vector<Fixed> rows_;
};

void drawColumns(const Canvas &canvas, const SampleHistory &history, const TraceStyle &style,
                 double start, double perColumn, int width) {
    const long long first = history.first();
    const long long total = history.total();
    // std::floor, without a call into the maths library for each column.
    const auto boundary = [&](int column) {
        const double place = start + column * perColumn;
        const auto whole = static_cast<long long>(place);
        return double(whole) > place ? whole - 1 : whole;
    };
    const ColumnExtremes extremes(history, style, canvas, std::max(first, boundary(0)),
                                  std::min(total, boundary(width)), perColumn);
    const Fixed halfStroke = fixedOf(float(strokeWidth / 2.0 * canvas.ratio));
    bool joined = false;
    ColumnRows previous{};
    long long next = boundary(0);
    int x = 0; // the image's first pixel of the column
    for (int column = 0; column < width; ++column) {
        const int firstX = std::exchange(x, static_cast<int>((column + 1) * canvas.ratio));
        const long long from = std::max(first, next);
        next = boundary(column + 1);
        const long long to = std::min(total, next);
        if (from >= to) {
            joined = false;
            continue;
        }
        const ColumnRows own = extremes(from, to);
        // Reaching to the column before keeps a steep edge one stroke instead of dots.
        const Fixed top = (joined ? std::min(own.top, previous.bottom) : own.top) - halfStroke;
        const Fixed bottom =
            (joined ? std::max(own.bottom, previous.top) : own.bottom) + halfStroke;
        for (int at = firstX; at < x; ++at) {
            strokeColumn(canvas, at, top, bottom, style.colour);
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
    return VerticalScale(style, height).pixel(float(volts));
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
        const Canvas canvas(image, touched);
        for (const TraceStyle &style : styles) {
            drawColumns(canvas, history, style, start, perColumn, width);
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
