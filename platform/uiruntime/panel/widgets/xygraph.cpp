#include "xygraph.h"

#include "graph/axis_ticks.h"
#include "graph/stored_block.h"
#include "graph/trace_raster.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace panel {

namespace {

constexpr int leftMargin = 56;
constexpr int rightMargin = 14;
constexpr int topMargin = 10;
constexpr int bottomMargin = 28;
constexpr int titleGap = 4;
constexpr double penWidth = 1.5;
constexpr int tickLength = 5;
constexpr int markerSize = 5;
constexpr int maxTicksX = 8;
constexpr int maxTicksY = 7;
// Segments are clipped to the cache with this margin so huge coordinates never reach the
// rasterizer and an antialiased end that touches the border is still drawn whole.
constexpr double clipMargin = 8.0;

bool fitsFloat(double value) {
    return std::isfinite(value) && std::isfinite(static_cast<float>(value));
}

bool isRgb(int rgb) {
    return rgb >= 0 && rgb <= 0xFFFFFF;
}

// Liang-Barsky: trims the segment a-b to the box, false if nothing of it is inside.
bool clipToBox(QPointF &a, QPointF &b, const QRectF &box) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                         box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

QRectF boxOf(const QPointF &a, const QPointF &b) {
    return QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                  QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

// Where primitives land in the trace image, worked out once for a whole drawing.
class Placer {
  public:
    Placer(double xMin, double xMax, double yMin, double yMax, QSize area)
        : xMin_(xMin), yMax_(yMax), xScale_((area.width() - 1) / (xMax - xMin)),
          yScale_((area.height() - 1) / (yMax - yMin)),
          box_(-clipMargin, -clipMargin, area.width() + 2 * clipMargin,
               area.height() + 2 * clipMargin) {}

    // Where a block's bounds land, cut to the clipping box.
    QRectF place(const GraphStore::Bounds &bounds) const {
        // Both ends of each side are cut: a block wholly off one side lands on its edge.
        const auto across = [this](double x) { return std::clamp(x, box_.left(), box_.right()); };
        const auto down = [this](double y) { return std::clamp(y, box_.top(), box_.bottom()); };
        return QRectF(
            QPointF(across((bounds.xMin - xMin_) * xScale_), down((yMax_ - bounds.yMax) * yScale_)),
            QPointF(across((bounds.xMax - xMin_) * xScale_),
                    down((yMax_ - bounds.yMin) * yScale_)));
    }

    // Where a primitive lands, from coords x1, y1, x2, y2; false when nothing of it lies
    // near the image.
    bool place(const float *coords, QPointF &a, QPointF &b) const {
        a = {(coords[0] - xMin_) * xScale_, (yMax_ - coords[1]) * yScale_};
        b = {(coords[2] - xMin_) * xScale_, (yMax_ - coords[3]) * yScale_};
        return (inside(a) && inside(b)) || clipToBox(a, b, box_);
    }

  private:
    bool inside(const QPointF &p) const {
        return p.x() >= box_.left() && p.x() <= box_.right() && p.y() >= box_.top() &&
               p.y() <= box_.bottom();
    }

    double xMin_, yMax_, xScale_, yScale_;
    QRectF box_;
};

} // namespace

XYGraph::XYGraph(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    plotArea_ = plotAreaFor(size());
}

void XYGraph::setXMin(double value) {
    setRange(xRange_, value, xRange_.max);
}
void XYGraph::setXMax(double value) {
    setRange(xRange_, xRange_.min, value);
}
void XYGraph::setYMin(double value) {
    setRange(yRange_, value, yRange_.max);
}
void XYGraph::setYMax(double value) {
    setRange(yRange_, yRange_.min, value);
}

bool XYGraph::setXRange(double min, double max) {
    return min < max && setRange(xRange_, min, max);
}

bool XYGraph::setYRange(double min, double max) {
    return min < max && setRange(yRange_, min, max);
}

// One end at a time may pass through min >= max while a form sets xMin then xMax; such a
// range shows no ticks and no traces until it is valid again.
bool XYGraph::setRange(Range &range, double min, double max) {
    if (!std::isfinite(min) || !std::isfinite(max)) {
        return false;
    }
    range = {min, max};
    invalidateCache();
    return true;
}

void XYGraph::setXTitle(const QString &title) {
    xTitle_ = title;
    update();
}

void XYGraph::setYTitle(const QString &title) {
    yTitle_ = title;
    update();
}

void XYGraph::setSquarePlot(bool square) {
    squarePlot_ = square;
    placePlotArea();
}

bool XYGraph::rangesValid() const {
    return xRange_.min < xRange_.max && yRange_.min < yRange_.max;
}

bool XYGraph::addSegment(double x1, double y1, double x2, double y2, int rgb) {
    if (!fitsFloat(x1) || !fitsFloat(y1) || !fitsFloat(x2) || !fitsFloat(y2) || !isRgb(rgb)) {
        return false;
    }
    const GraphPrimitive segment{static_cast<float>(x1),          static_cast<float>(y1),
                                 static_cast<float>(x2),          static_cast<float>(y2),
                                 static_cast<std::uint32_t>(rgb), false};
    if (!store_.append(segment)) {
        return false;
    }
    update(plotArea());
    return true;
}

bool XYGraph::addMarker(double x, double y, int rgb) {
    if (!fitsFloat(x) || !fitsFloat(y) || !isRgb(rgb)) {
        return false;
    }
    const auto fx = static_cast<float>(x);
    const auto fy = static_cast<float>(y);
    if (!store_.append({fx, fy, fx, fy, static_cast<std::uint32_t>(rgb), true})) {
        return false;
    }
    update(plotArea());
    return true;
}

void XYGraph::clear() {
    store_.clear();
    invalidateCache();
}

QRect XYGraph::plotArea() const {
    return plotArea_;
}

// Kept, not computed on every use: each primitive drawn needs it.
void XYGraph::placePlotArea() {
    plotArea_ = plotAreaFor(size());
    invalidateCache();
}

QRect XYGraph::plotAreaFor(QSize size) const {
    const int title = fontMetrics().height() + titleGap;
    const QRect room =
        QRect(QPoint(0, 0), size)
            .adjusted(leftMargin + title, topMargin, -rightMargin, -bottomMargin - title);
    if (!squarePlot_) {
        return room;
    }
    const int side = std::max(1, std::min(room.width(), room.height()));
    return {room.left() + (room.width() - side) / 2, room.top() + (room.height() - side) / 2, side,
            side};
}

QPointF XYGraph::toCachePoint(float x, float y) const {
    const QRect area = plotArea();
    const double px = (x - xRange_.min) / (xRange_.max - xRange_.min) * (area.width() - 1);
    const double py = (yRange_.max - y) / (yRange_.max - yRange_.min) * (area.height() - 1);
    return {px, py};
}

QPoint XYGraph::toPixel(double x, double y) const {
    const QPointF inCache = toCachePoint(static_cast<float>(x), static_cast<float>(y));
    return plotArea().topLeft() + inCache.toPoint();
}

QImage XYGraph::renderToImage() {
    return grab().toImage();
}

QSize XYGraph::sizeHint() const {
    return {400, 300};
}

void XYGraph::resizeEvent(QResizeEvent *) {
    placePlotArea();
}

void XYGraph::changeEvent(QEvent *event) {
    if (event->type() == QEvent::FontChange) {
        placePlotArea();
    }
    QWidget::changeEvent(event);
}

void XYGraph::invalidateCache() {
    cache_ = QImage();
    cachedCount_ = 0;
    update();
}

void XYGraph::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.fillRect(plotArea(), Qt::white);
    drawAxes(painter);
    bringCacheUpToDate();
    painter.drawImage(plotArea().topLeft(), cache_);
}

QImage XYGraph::emptyTraceImage() const {
    const QSize pixels = plotArea().size() * devicePixelRatioF();
    QImage image(pixels.expandedTo({1, 1}), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatioF());
    image.fill(Qt::transparent);
    return image;
}

QImage XYGraph::renderTraces(TraceDrawing how) const {
    QImage image = emptyTraceImage();
    if (!rangesValid() || store_.size() == 0) {
        return image;
    }
    if (how == TraceDrawing::Exact) {
        drawPrimitives(image, 0, store_.size());
    } else {
        drawAllSkippingCovered(image);
    }
    return image;
}

void XYGraph::bringCacheUpToDate() {
    const QSize pixels = plotArea().size() * devicePixelRatioF();
    if (cache_.size() != pixels.expandedTo({1, 1})) {
        cache_ = renderTraces(TraceDrawing::SkipCovered);
        cachedCount_ = store_.size();
        return;
    }
    if (cachedCount_ == store_.size()) {
        return;
    }
    if (rangesValid()) {
        drawPrimitives(cache_, cachedCount_, store_.size());
    }
    cachedCount_ = store_.size();
}

void XYGraph::drawPrimitive(TraceRaster &raster, bool marker, QRgb rgb, const QPointF &a,
                            const QPointF &b) {
    if (marker) {
        raster.square(a, markerSize, rgb);
    } else {
        raster.line(a, b, rgb, penWidth);
    }
}

void XYGraph::drawPrimitives(QImage &image, std::size_t from, std::size_t to) const {
    TraceRaster raster(image, TraceRaster::Mode::Over);
    const Placer placer(xRange_.min, xRange_.max, yRange_.min, yRange_.max, plotArea().size());
    QPointF a, b;
    for (std::size_t i = from; i < to; ++i) {
        const GraphPrimitive p = store_.at(i);
        const float coords[4] = {p.x1, p.y1, p.x2, p.y2};
        if (placer.place(coords, a, b)) {
            drawPrimitive(raster, p.marker, p.rgb, a, b);
        }
    }
}

// Painting under, from the newest primitive back, gives the picture that painting over in
// plotting order gives, up to rounding in partly covered pixels; a primitive whose reach
// (the pixels it could paint) is opaque already would change nothing and is skipped, and so
// is a whole block of them whose bounds reach only opaque pixels.
void XYGraph::drawAllSkippingCovered(QImage &image) const {
    TraceRaster raster(image, TraceRaster::Mode::Under);
    const Placer placer(xRange_.min, xRange_.max, yRange_.min, yRange_.max, plotArea().size());
    QPointF a, b;
    forEachBlockNewestFirst(store_, [&](const StoredBlock &block) {
        const QRectF bounds = placer.place(block.bounds());
        QRect reach = raster.lineReach(bounds, penWidth);
        if (block.holdsMarker()) {
            reach |= raster.squareReach(bounds, markerSize);
        }
        if (raster.covered(reach)) {
            return;
        }
        for (std::size_t i = block.size(); i-- > 0;) {
            if (!placer.place(block.coords(i), a, b)) {
                continue;
            }
            const bool marker = block.isMarker(i);
            const QRectF box = boxOf(a, b);
            if (raster.covered(marker ? raster.squareReach(box, markerSize)
                                      : raster.lineReach(box, penWidth))) {
                continue;
            }
            drawPrimitive(raster, marker, block.rgb(i), a, b);
        }
    });
}

void XYGraph::drawAxes(QPainter &painter) const {
    const QRect area = plotArea();
    const QColor ink = palette().color(QPalette::WindowText);
    const QColor grid(225, 225, 225);
    const QFontMetrics metrics = painter.fontMetrics();
    for (const AxisTick &tick : axisTicks(xRange_.min, xRange_.max, maxTicksX)) {
        const int x = toPixel(tick.value, yRange_.min).x();
        painter.setPen(grid);
        painter.drawLine(x, area.top(), x, area.bottom());
        painter.setPen(ink);
        painter.drawLine(x, area.bottom(), x, area.bottom() + tickLength);
        const QRect label(x - 40, area.bottom() + tickLength, 80, metrics.height());
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, tick.label);
    }
    for (const AxisTick &tick : axisTicks(yRange_.min, yRange_.max, maxTicksY)) {
        const int y = toPixel(xRange_.min, tick.value).y();
        painter.setPen(grid);
        painter.drawLine(area.left(), y, area.right(), y);
        painter.setPen(ink);
        painter.drawLine(area.left() - tickLength, y, area.left(), y);
        const QRect label(0, y - metrics.height() / 2, area.left() - tickLength - 3,
                          metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, tick.label);
    }
    painter.setPen(ink);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    drawTitles(painter, area);
}

void XYGraph::drawTitles(QPainter &painter, const QRect &area) const {
    const QFontMetrics metrics = painter.fontMetrics();
    const int height = metrics.height();
    const QRect below(area.left(), area.bottom() + tickLength + height + titleGap, area.width(),
                      height);
    painter.drawText(below, Qt::AlignHCenter | Qt::AlignTop,
                     metrics.elidedText(xTitle_, Qt::ElideRight, area.width()));
    // The y title reads upwards, left of the tick labels.
    painter.save();
    painter.translate(area.left() - leftMargin - titleGap, area.bottom());
    painter.rotate(-90);
    painter.drawText(QRect(0, -height, area.height(), height), Qt::AlignHCenter | Qt::AlignBottom,
                     metrics.elidedText(yTitle_, Qt::ElideRight, area.height()));
    painter.restore();
}

} // namespace panel
