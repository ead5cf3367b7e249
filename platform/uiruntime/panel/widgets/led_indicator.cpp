#include "led_indicator.h"

#include <QPainter>

namespace panel {

LedIndicator::LedIndicator(QWidget *parent) : QWidget(parent) {}

void LedIndicator::setOn(bool on) {
    if (on == on_ && !unknown_) {
        return;
    }
    on_ = on;
    unknown_ = false;
    update();
}

void LedIndicator::setUnknown(bool unknown) {
    if (unknown == unknown_) {
        return;
    }
    unknown_ = unknown;
    update();
}

void LedIndicator::setLabel(const QString &label) {
    label_ = label;
    updateGeometry();
    update();
}

QSize LedIndicator::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int textWidth = label_.isEmpty() ? 0 : labelGap + metrics.horizontalAdvance(label_) + 2;
    return {lampSize + 2 + textWidth, qMax(lampSize + 2, metrics.height())};
}

void LedIndicator::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF lamp(1, (height() - lampSize) / 2.0, lampSize, lampSize);
    if (unknown_) {
        painter.setPen(QPen(QColor(120, 120, 120), 1.0, Qt::DashLine));
        painter.setBrush(QColor(190, 190, 190));
        painter.drawEllipse(lamp);
        painter.setPen(QColor(80, 80, 80));
        painter.drawText(lamp, Qt::AlignCenter, QStringLiteral("?"));
    } else {
        painter.setPen(QPen(QColor(60, 60, 60), 1.0));
        painter.setBrush(on_ ? QColor(40, 220, 60) : QColor(30, 70, 35));
        painter.drawEllipse(lamp);
    }
    if (!label_.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        const QRect text(lampSize + 2 + labelGap, 0, width(), height());
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, label_);
    }
}

} // namespace panel
