// Draws traces of the history into an image: one vertical stroke per pixel column from the
// column's minimum to its maximum, read off the history's blocks, while a column holds a
// sample or more, and antialiased lines from sample to sample when zoomed in further.  A frame
// costs what its columns cost, however many samples they stand for.
#ifndef TOOLS_ORVEX_SCOPE_VIEW_TRACE_RENDERER_H
#define TOOLS_ORVEX_SCOPE_VIEW_TRACE_RENDERER_H

#include "core/sample_history.h"
#include "touched_rows.h"

#include <QImage>
#include <span>

namespace scope {

struct TraceStyle {
    int channel; // of the history
    QRgb colour;
    double voltsPerDivision;
    double offset; // volts added before drawing
};

// The image's vertical pixel of a voltage: 0 V plus the offset in the middle, divisionsUp
// divisions over the height.
double pixelOfVolts(double volts, const TraceStyle &style, double height);
double voltsOfPixel(double y, const TraceStyle &style, double height);

// Samples [start, start + span) over the image's width; start may be fractional, and
// samples outside the history leave their columns empty.  The image is premultiplied
// ARGB32 and the colours opaque.  The pixels drawn on are added to touched, which
// restore() then clears before the next frame.
void drawTraces(QImage &image, TouchedRows &touched, const SampleHistory &history,
                std::span<const TraceStyle> styles, double start, double span);

} // namespace scope

#endif
