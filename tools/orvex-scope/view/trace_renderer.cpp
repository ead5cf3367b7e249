#include "trace_renderer.h"

#include "core/scope_setup.h"

#include "graph/trace_raster.h"

#include <algorithm>
#include <cmath>

namespace scope {

namespace {

constexpr double strokeWidth = 1.0;

void drawColumns(panel::TraceRaster &raster, const SampleHistory &history, const TraceStyle &style,
                 double start, double perColumn, int width, double height) {
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
        const double top = pixelOfVolts(span.max, style, height);
        const double bottom = pixelOfVolts(span.min, style, height);
        const double x = column + 0.5;
        raster.line(QPointF(x, top - 0.5), QPointF(x, bottom + 0.5), style.colour, strokeWidth);
        previous = own;
        joined = true;
    }
}

void drawSamples(panel::TraceRaster &raster, const SampleHistory &history, const TraceStyle &style,
                 double start, double perColumn, int width, double height) {
    const long long from = std::max(history.first(), static_cast<long long>(std::floor(start)));
    const long long to =
        std::min(history.total(), static_cast<long long>(std::ceil(start + width * perColumn)) + 1);
    for (long long index = from + 1; index < to; ++index) {
        const QPointF a((double(index - 1) - start) / perColumn,
                        pixelOfVolts(history.at(style.channel, index - 1), style, height));
        const QPointF b((double(index) - start) / perColumn,
                        pixelOfVolts(history.at(style.channel, index), style, height));
        raster.line(a, b, style.colour, strokeWidth);
    }
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
    panel::TraceRaster raster(image, panel::TraceRaster::Mode::Over);
    for (const TraceStyle &style : styles) {
        if (perColumn >= 1.0) {
            drawColumns(raster, history, style, start, perColumn, width, height);
        } else {
            drawSamples(raster, history, style, start, perColumn, width, height);
        }
    }
}

} // namespace scope
