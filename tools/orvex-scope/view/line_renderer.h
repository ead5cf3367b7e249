// Draws digital lines as logic traces in lanes at the foot of the screen, one lane of half
// a division each, the first at the bottom: a step per column the level moved in, and
// nothing where the level is not known.  A frame costs what its columns cost, however
// many changes they hold.
#ifndef TOOLS_ORVEX_SCOPE_VIEW_LINE_RENDERER_H
#define TOOLS_ORVEX_SCOPE_VIEW_LINE_RENDERER_H

#include "core/line_history.h"

#include <QColor>
#include <QSizeF>
#include <QString>
#include <span>

class QPainter;

namespace scope {

struct LineStyle {
    int line; // of the line history
    QRgb colour;
    QString name; // the lane's label
};

// Where a lane draws a level, in pixels from the top of a screen this high.
double laneY(int lane, LineState level, double height);
// The highest pixel that lanes this many draw on, from the top of a screen this high.
double lanesTop(int lanes, double height);

// Samples [start, start + span) over width pixels; only [first, total) is drawn.  The
// labels are the screen's to draw.
void drawLines(QPainter &painter, const LineHistory &lines, std::span<const LineStyle> styles,
               double start, double span, long long first, long long total, QSizeF size);

} // namespace scope

#endif
