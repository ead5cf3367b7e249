#include "line_renderer.h"

#include "core/scope_setup.h"

#include <QPainter>
#include <algorithm>

namespace scope {

namespace {

constexpr double laneShare = 0.5; // of a division
constexpr double laneMargin = 3.0;

class LaneDrawer {
  public:
    LaneDrawer(QPainter &painter, double high, double low)
        : painter_(painter), high_(high), low_(low) {}

    // The level in columns from the run's start to column to, reaching into that column
    // to meet its step.
    void endRun(int to) {
        if (runFrom_ >= 0 && runState_ != LineState::Unknown) {
            const double y = runState_ == LineState::High ? high_ : low_;
            painter_.drawLine(QPointF(runFrom_ + 0.5, y), QPointF(to + 0.5, y));
        }
        runFrom_ = -1;
    }

    void add(int column, const LineColumn &seen) {
        if (seen.changed) {
            endRun(column);
            if (seen.first != LineState::Unknown || seen.last != LineState::Unknown) {
                painter_.drawLine(QPointF(column + 0.5, high_), QPointF(column + 0.5, low_));
            }
        }
        if (runFrom_ < 0 || seen.last != runState_) {
            endRun(column);
            runFrom_ = column;
            runState_ = seen.last;
        }
    }

  private:
    QPainter &painter_;
    double high_;
    double low_;
    int runFrom_ = -1;
    LineState runState_ = LineState::Unknown;
};

} // namespace

double laneY(int lane, LineState level, double height) {
    const double laneHeight = height / divisionsUp * laneShare;
    const double bottom = height - lane * laneHeight;
    return level == LineState::High ? bottom - laneHeight + laneMargin + 0.5
                                    : bottom - laneMargin - 0.5;
}

void drawLines(QPainter &painter, const LineHistory &lines, std::span<const LineStyle> styles,
               double start, double span, long long first, long long total, QSizeF size) {
    const int width = static_cast<int>(size.width());
    if (width <= 0 || span <= 0.0 || total <= first) {
        return;
    }
    const double perColumn = span / width;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int lane = 0; lane < int(styles.size()); ++lane) {
        const LineStyle &style = styles[static_cast<std::size_t>(lane)];
        const double high = laneY(lane, LineState::High, size.height());
        const double low = laneY(lane, LineState::Low, size.height());
        painter.setPen(QPen(QColor::fromRgb(style.colour), 1.0));
        LaneDrawer drawer(painter, high, low);
        for (int column = 0; column < width; ++column) {
            const double from = std::max(double(first), start + column * perColumn);
            const double to = std::min(double(total), start + (column + 1) * perColumn);
            if (from >= to) {
                drawer.endRun(column - 1);
                continue;
            }
            drawer.add(column, lines.column(style.line, from, to));
        }
        drawer.endRun(width);
        // Between the two levels, where only a step at the far left crosses it.
        painter.drawText(QPointF(4.0, (high + low) / 2.0 + 4.0), style.name);
    }
    painter.restore();
}

} // namespace scope
