#include "scope_plot.h"

#include "core/scope_setup.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace scope {

namespace {

constexpr QRgb background = 0xFF101010;
constexpr QRgb gridColour = 0xFF3A3A3A;
constexpr QRgb cursorColour = 0xFFB0B0B0;
constexpr double grabDistance = 5.0;
constexpr double wheelZoom = 1.25;
constexpr double keyScroll = 0.1; // of the width

} // namespace

ScopePlot::ScopePlot(QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setMinimumSize(400, 240);
}

void ScopePlot::setHistory(const SampleHistory *history) {
    history_ = history;
    update();
}

void ScopePlot::setTraces(std::vector<TraceStyle> traces) {
    traces_ = std::move(traces);
    update();
}

void ScopePlot::setLines(const LineHistory *lines, std::vector<LineStyle> styles) {
    lines_ = lines;
    lineStyles_ = std::move(styles);
    update();
}

void ScopePlot::setFrame(const Frame &frame) {
    frame_ = frame;
    update();
}

void ScopePlot::setTriggerMark(std::optional<TriggerMark> mark) {
    mark_ = mark;
    update();
}

void ScopePlot::setStatus(const QString &text) {
    if (text != status_) {
        status_ = text;
        update();
    }
}

void ScopePlot::setNavigable(bool navigable) {
    navigable_ = navigable;
}

void ScopePlot::setCursors(const Cursors &cursors) {
    cursors_ = cursors;
    update();
}

double ScopePlot::xOfSample(double sample) const {
    return frame_.span > 0.0 ? (sample - frame_.start) / frame_.span * width() : 0.0;
}

double ScopePlot::sampleOfX(double x) const {
    return frame_.start + x / std::max(1, width()) * frame_.span;
}

std::optional<double> ScopePlot::triggerMarkX() const {
    if (!frame_.trigger || frame_.empty) {
        return std::nullopt;
    }
    return xOfSample(*frame_.trigger);
}

void ScopePlot::paintEvent(QPaintEvent * /*event*/) {
    clearImage();
    if (history_ && !frame_.empty) {
        drawTraces(image_, touched_, *history_, traces_, frame_.start, frame_.span);
        if (lines_) {
            // The lanes' rows at the foot, with a row above for the painter's rounding.
            const qreal ratio = devicePixelRatioF();
            touched_.touchRows(
                std::max(0,
                         static_cast<int>(lanesTop(int(lineStyles_.size()), height()) * ratio) - 1),
                image_.height() - 1);
            QPainter linePainter(&image_);
            drawLines(linePainter, *lines_, lineStyles_, frame_.start, frame_.span,
                      history_->first(), history_->total(), size());
        }
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), image_);
    paintLineLabels(painter);
    paintTriggerMark(painter);
    paintCursors(painter);
    if (!status_.isEmpty()) {
        painter.setPen(QColor(0xFF, 0xC0, 0x40));
        painter.drawText(rect().adjusted(8, 6, -8, -6),
                         Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, status_);
    }
}

void ScopePlot::clearImage() {
    const qreal ratio = devicePixelRatioF();
    if (background_.size() == size() * ratio && background_.devicePixelRatio() == ratio) {
        touched_.restore(image_, background_);
        return;
    }
    background_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    background_.setDevicePixelRatio(ratio);
    background_.fill(background);
    {
        QPainter gridPainter(&background_);
        paintGrid(gridPainter);
    }
    image_ = background_.copy();
    touched_.reset(background_);
}

void ScopePlot::paintGrid(QPainter &painter) const {
    painter.setPen(QPen(QColor::fromRgb(gridColour), 1.0, Qt::DotLine));
    for (int division = 1; division < divisionsAcross; ++division) {
        const double x = std::round(width() * double(division) / divisionsAcross) + 0.5;
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
    for (int division = 1; division < divisionsUp; ++division) {
        const double y = std::round(height() * double(division) / divisionsUp) + 0.5;
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
    }
    painter.setPen(QPen(QColor::fromRgb(gridColour), 1.0));
    painter.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
}

void ScopePlot::paintLineLabels(QPainter &painter) const {
    for (int lane = 0; lane < int(lineStyles_.size()); ++lane) {
        const LineStyle &style = lineStyles_[static_cast<std::size_t>(lane)];
        const double middle =
            (laneY(lane, LineState::High, height()) + laneY(lane, LineState::Low, height())) / 2.0;
        painter.setPen(QColor::fromRgb(style.colour));
        // Between the two levels, where only a step at the far left crosses it.
        painter.drawText(QPointF(4.0, middle + 4.0), style.name);
    }
}

std::optional<ScopePlot::MarkLevel> ScopePlot::markLevel() const {
    if (!mark_) {
        return std::nullopt;
    }
    if (mark_->lane >= 0 && mark_->lane < int(lineStyles_.size())) {
        const double high = laneY(mark_->lane, LineState::High, height());
        const double low = laneY(mark_->lane, LineState::Low, height());
        return MarkLevel{lineStyles_[static_cast<std::size_t>(mark_->lane)].colour,
                         (high + low) / 2.0};
    }
    if (mark_->trace >= 0 && mark_->trace < int(traces_.size())) {
        const TraceStyle &style = traces_[static_cast<std::size_t>(mark_->trace)];
        return MarkLevel{style.colour, pixelOfVolts(mark_->level, style, height())};
    }
    return std::nullopt;
}

void ScopePlot::paintTriggerMark(QPainter &painter) const {
    const std::optional<double> x = triggerMarkX();
    const std::optional<MarkLevel> level = markLevel();
    if (!x || !level) {
        return;
    }
    const double y = level->y;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(level->colour));
    const QPointF down[3] = {{*x - 6, 0}, {*x + 6, 0}, {*x, 9}};
    painter.drawPolygon(down, 3);
    const QPointF left[3] = {
        {double(width()), y - 6}, {double(width()), y + 6}, {width() - 9.0, y}};
    painter.drawPolygon(left, 3);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void ScopePlot::paintCursors(QPainter &painter) const {
    if (!cursors_.shown) {
        return;
    }
    painter.setPen(QPen(QColor::fromRgb(cursorColour), 1.0, Qt::DashLine));
    for (const double sample : cursors_.samples) {
        const double x = std::round(xOfSample(sample)) + 0.5;
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
    if (!traces_.empty()) {
        for (const double volts : cursors_.volts) {
            const double y = std::round(pixelOfVolts(volts, traces_.front(), height())) + 0.5;
            painter.drawLine(QPointF(0, y), QPointF(width(), y));
        }
    }
}

ScopePlot::Drag ScopePlot::dragAt(QPointF point) const {
    if (cursors_.shown) {
        for (std::size_t k = 0; k < 2; ++k) {
            if (std::fabs(point.x() - xOfSample(cursors_.samples[k])) <= grabDistance) {
                return k == 0 ? Drag::TimeCursor0 : Drag::TimeCursor1;
            }
            if (!traces_.empty() &&
                std::fabs(point.y() - pixelOfVolts(cursors_.volts[k], traces_.front(), height())) <=
                    grabDistance) {
                return k == 0 ? Drag::VoltCursor0 : Drag::VoltCursor1;
            }
        }
    }
    return navigable_ ? Drag::View : Drag::None;
}

void ScopePlot::mousePressEvent(QMouseEvent *event) {
    drag_ = event->button() == Qt::LeftButton ? dragAt(event->position()) : Drag::None;
    dragFrom_ = event->position();
    dragStart_ = frame_.start;
}

void ScopePlot::mouseMoveEvent(QMouseEvent *event) {
    const QPointF at = event->position();
    switch (drag_) {
    case Drag::None:
        return;
    case Drag::View:
        frame_.start = dragStart_ - (at.x() - dragFrom_.x()) / std::max(1, width()) * frame_.span;
        update();
        emit viewMoved();
        return;
    case Drag::TimeCursor0:
    case Drag::TimeCursor1:
        cursors_.samples[drag_ == Drag::TimeCursor0 ? 0 : 1] = sampleOfX(at.x());
        break;
    case Drag::VoltCursor0:
    case Drag::VoltCursor1:
        cursors_.volts[drag_ == Drag::VoltCursor0 ? 0 : 1] =
            voltsOfPixel(at.y(), traces_.front(), height());
        break;
    }
    update();
    emit cursorsMoved();
}

void ScopePlot::mouseReleaseEvent(QMouseEvent * /*event*/) {
    drag_ = Drag::None;
}

void ScopePlot::wheelEvent(QWheelEvent *event) {
    if (!navigable_) {
        return;
    }
    const double steps = event->angleDelta().y() / 120.0;
    zoomAround(event->position().x(), std::pow(wheelZoom, -steps));
    event->accept();
}

void ScopePlot::keyPressEvent(QKeyEvent *event) {
    if (!navigable_) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        scrollBy(-keyScroll * width());
        break;
    case Qt::Key_Right:
        scrollBy(keyScroll * width());
        break;
    case Qt::Key_Plus:
    case Qt::Key_Up:
        zoomAround(width() / 2.0, 1.0 / wheelZoom);
        break;
    case Qt::Key_Minus:
    case Qt::Key_Down:
        zoomAround(width() / 2.0, wheelZoom);
        break;
    case Qt::Key_End:
        scrollToNewest();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ScopePlot::zoomAround(double x, double factor) {
    const double anchor = sampleOfX(x);
    // Down to a few samples across, up to the whole history on screen.
    const double longest = history_ ? std::max(10.0, double(history_->capacity())) : 1e9;
    frame_.span = std::clamp(frame_.span * factor, 4.0, longest);
    frame_.start = anchor - x / std::max(1, width()) * frame_.span;
    update();
    emit viewMoved();
}

void ScopePlot::scrollToNewest() {
    if (history_) {
        frame_.start = double(history_->total()) - frame_.span;
        update();
        emit viewMoved();
    }
}

void ScopePlot::scrollBy(double pixels) {
    frame_.start += pixels / std::max(1, width()) * frame_.span;
    update();
    emit viewMoved();
}

} // namespace scope
