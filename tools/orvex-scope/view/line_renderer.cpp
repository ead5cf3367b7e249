#include "line_renderer.h"

#include "core/scope_setup.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace scope {

namespace {

constexpr double laneShare = 0.5; // of a division
constexpr double laneMargin = 3.0;

// A lane's columns left to right: a line for each run of columns at one level, and a
// block from level to level over each run of columns the level moved in, so that a busy
// line zoomed out costs a call, not one a column.
class LaneDrawer {
  public:
    LaneDrawer(QPainter &painter, QColor colour, double high, double low)
        : painter_(painter), colour_(colour), high_(high), low_(low) {}

    void add(int column, const LineColumn &seen) {
        if (seen.changed && seen.first != LineState::Unknown && seen.last != LineState::Unknown) {
            endLevel(column - 1);
            busyFrom_ = busyFrom_ < 0 ? column : busyFrom_;
            busyTo_ = column + 1;
            return;
        }
        endBusy();
        if (levelFrom_ < 0 || seen.last != levelState_) {
            endLevel(column - 1);
            levelFrom_ = column;
            levelState_ = seen.last;
        }
    }

    // Ends the runs at column last, or at a gap before it.
    void end(int last) {
        endBusy();
        endLevel(last);
    }

  private:
    // The level from the run's first column through column last, a pixel high: filled
    // rectangles cover whole pixels, where the ends of an aliased line depend on the pen.
    void endLevel(int last) {
        if (levelFrom_ >= 0 && last >= levelFrom_ && levelState_ != LineState::Unknown) {
            const double y = levelState_ == LineState::High ? high_ : low_;
            painter_.fillRect(QRectF(levelFrom_, y - 0.5, last - levelFrom_ + 1, 1.0), colour_);
        }
        levelFrom_ = -1;
    }

    void endBusy() {
        if (busyFrom_ >= 0) {
            painter_.fillRect(
                QRectF(busyFrom_, high_ - 0.5, busyTo_ - busyFrom_, low_ - high_ + 1.0), colour_);
        }
        busyFrom_ = -1;
    }

    QPainter &painter_;
    QColor colour_;
    double high_;
    double low_;
    int levelFrom_ = -1;
    LineState levelState_ = LineState::Unknown;
    int busyFrom_ = -1;
    int busyTo_ = -1;
};

} // namespace

double laneY(int lane, LineState level, double height) {
    const double laneHeight = height / divisionsUp * laneShare;
    const double bottom = height - lane * laneHeight;
    const double y =
        level == LineState::High ? bottom - laneHeight + laneMargin : bottom - laneMargin - 1.0;
    // On a pixel's middle, so that a level is one row of pixels whatever the height.
    return std::floor(y) + 0.5;
}

double lanesTop(int lanes, double height) {
    // The top lane's high level, a pixel tall about its middle.
    return lanes > 0 ? laneY(lanes - 1, LineState::High, height) - 0.5 : height;
}

void drawLines(QPainter &painter, const LineHistory &lines, std::span<const LineStyle> styles,
               double start, double span, long long first, long long total, QSizeF size) {
    const int width = static_cast<int>(size.width());
    if (width <= 0 || span <= 0.0 || total <= first) {
        return;
    }
    const double perColumn = span / width;
    for (int lane = 0; lane < int(styles.size()); ++lane) {
        const LineStyle &style = styles[static_cast<std::size_t>(lane)];
        const double high = laneY(lane, LineState::High, size.height());
        const double low = laneY(lane, LineState::Low, size.height());
        LaneDrawer drawer(painter, QColor::fromRgb(style.colour), high, low);
        for (int column = 0; column < width; ++column) {
            const double from = std::max(double(first), start + column * perColumn);
            const double to = std::min(double(total), start + (column + 1) * perColumn);
            if (from >= to) {
                drawer.end(column - 1);
                continue;
            }
            drawer.add(column, lines.column(style.line, from, to));
        }
        drawer.end(width - 1);
    }
}

} // namespace scope
