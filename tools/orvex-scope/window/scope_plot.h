// The scope's screen: the grid, the traces of the frame, the trigger mark, the cursors and a
// line of state ("waiting for trigger", the converter's holder), and the digital lines in
// lanes at its foot.  After Stop, and while rolling, the wheel, a drag and the keys zoom and
// scroll through the history; the cursors are dragged.
#ifndef TOOLS_ORVEX_SCOPE_WINDOW_SCOPE_PLOT_H
#define TOOLS_ORVEX_SCOPE_WINDOW_SCOPE_PLOT_H

#include "core/frame_picker.h"
#include "core/line_history.h"
#include "core/sample_history.h"
#include "view/line_renderer.h"
#include "view/trace_renderer.h"

#include <QWidget>
#include <array>
#include <optional>
#include <vector>

namespace scope {

struct TriggerMark {
    int trace; // of the traces set, whose scale places the level
    double level;
    int lane = -1; // a digital line's lane instead, when not negative
};

// Time cursors in samples of the history, so that they stay on the signal as it scrolls;
// voltage cursors in volts of the first trace.
struct Cursors {
    bool shown = false;
    std::array<double, 2> samples{0.0, 0.0};
    std::array<double, 2> volts{1.0, -1.0};
};

class ScopePlot : public QWidget {
    Q_OBJECT
  public:
    explicit ScopePlot(QWidget *parent = nullptr);

    void setHistory(const SampleHistory *history);
    void setTraces(std::vector<TraceStyle> traces);
    // The digital lines' levels over the same samples, and the lines shown, a lane each.
    void setLines(const LineHistory *lines, std::vector<LineStyle> styles);
    void setFrame(const Frame &frame);
    void setTriggerMark(std::optional<TriggerMark> mark);
    void setStatus(const QString &text);
    // Zoom and scroll through the history by hand: after Stop, or while rolling.
    void setNavigable(bool navigable);
    void setCursors(const Cursors &cursors);

    const Frame &frame() const { return frame_; }
    const Cursors &cursors() const { return cursors_; }
    const std::vector<TraceStyle> &traces() const { return traces_; }
    const std::vector<LineStyle> &lineStyles() const { return lineStyles_; }
    const QString &status() const { return status_; }
    // Where the trigger mark is, in pixels from the left; none without a trigger.
    std::optional<double> triggerMarkX() const;
    double xOfSample(double sample) const;
    double sampleOfX(double x) const;

  signals:
    void viewMoved();
    void cursorsMoved();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    enum class Drag { None, View, TimeCursor0, TimeCursor1, VoltCursor0, VoltCursor1 };
    struct MarkLevel {
        QRgb colour;
        double y;
    };
    // The colour and height of the trigger's level, on its trace or its line's lane.
    std::optional<MarkLevel> markLevel() const;
    // The image the traces are drawn in as the grid alone, made anew when the size changes.
    void clearImage();
    void paintGrid(QPainter &painter) const;
    void paintTriggerMark(QPainter &painter) const;
    void paintLineLabels(QPainter &painter) const;
    void paintCursors(QPainter &painter) const;
    Drag dragAt(QPointF point) const;
    void zoomAround(double x, double factor);
    void scrollBy(double pixels);
    void scrollToNewest();

    const SampleHistory *history_ = nullptr;
    std::vector<TraceStyle> traces_;
    const LineHistory *lines_ = nullptr;
    std::vector<LineStyle> lineStyles_;
    Frame frame_;
    std::optional<TriggerMark> mark_;
    QString status_;
    bool navigable_ = false;
    Cursors cursors_;
    QImage background_; // the grid, what image_ is cleared to
    QImage image_;
    TouchedRows touched_;
    Drag drag_ = Drag::None;
    QPointF dragFrom_;
    double dragStart_ = 0.0;
};

} // namespace scope

#endif
