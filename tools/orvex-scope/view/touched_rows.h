// Which pixels of a frame's image its traces drew on, as a run of rows for each strip of 16
// pixel columns (a cache line of pixels), so that the next frame puts back only those from
// the background instead of clearing the whole image: a zoomed-in trace covers a few rows a
// column, and clearing the rest cost as much as drawing it.  Each strip's run is put back a row
// at a time, its pixels of a row in one copy of a size known when compiled.
#ifndef TOOLS_ORVEX_SCOPE_VIEW_TOUCHED_ROWS_H
#define TOOLS_ORVEX_SCOPE_VIEW_TOUCHED_ROWS_H

#include <QImage>
#include <algorithm>
#include <vector>

namespace scope {

class TouchedRows {
  public:
    // The image is the background throughout: its size, and nothing drawn on it yet.
    void reset(const QImage &background);

    // Rows top to bottom (top <= bottom) of column x were drawn on.
    void touch(int x, int top, int bottom) {
        Rows &rows = strips_[static_cast<std::size_t>(x) / stripWidth];
        rows.top = std::min(rows.top, top);
        rows.bottom = std::max(rows.bottom, bottom);
    }
    // Rows top to bottom of every column were drawn on, through QPainter.
    void touchRows(int top, int bottom) {
        for (Rows &rows : strips_) {
            rows.top = std::min(rows.top, top);
            rows.bottom = std::max(rows.bottom, bottom);
        }
    }
    // Drawn on anywhere: through QPainter, whose pixels are not followed.
    void touchAll() { all_ = true; }

    // Gives image back the background's pixels where touched, and then nothing is.  The two
    // of the size reset was given.
    void restore(QImage &image, const QImage &background);

  private:
    static constexpr std::size_t stripWidth = 16;
    struct Rows {
        int top;
        int bottom;
    };
    void touchNothing();

    std::vector<Rows> strips_;
    int width_ = 0;
    int height_ = 0;
    bool all_ = false;
};

} // namespace scope

#endif
