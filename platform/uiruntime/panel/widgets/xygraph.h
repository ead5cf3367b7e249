// XY graph control: manual axis ranges, line segments and square markers in 24-bit colours.
//
// A trace can grow for hours, so a tick must cost the same at a million segments as at a
// hundred: what is already drawn is kept in a cached image and each paint adds only the
// primitives that arrived since.  The primitives themselves are kept compactly (see
// GraphStore) so the cache can be rebuilt after a resize, an axis change or a clear.
// Such a full redraw paints from the newest primitive back to the oldest, each under what
// is there, and skips every primitive whose footprint is already opaque, a block of them at
// a time where it can: a long trace covers its area many times over, so most of it never
// reaches the rasterizer.
#ifndef PLATFORM_UIRUNTIME_PANEL_WIDGETS_XYGRAPH_H
#define PLATFORM_UIRUNTIME_PANEL_WIDGETS_XYGRAPH_H

#include "graph/graph_store.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

namespace panel {

class TraceRaster;

class XYGraph : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double xMin READ xMin WRITE setXMin)
    Q_PROPERTY(double xMax READ xMax WRITE setXMax)
    Q_PROPERTY(double yMin READ yMin WRITE setYMin)
    Q_PROPERTY(double yMax READ yMax WRITE setYMax)
    Q_PROPERTY(QString xTitle READ xTitle WRITE setXTitle)
    Q_PROPERTY(QString yTitle READ yTitle WRITE setYTitle)
    Q_PROPERTY(bool squarePlot READ squarePlot WRITE setSquarePlot)

  public:
    // Both axes' range until the file or the program sets one.
    static constexpr double defaultAxisMin = 0.0;
    static constexpr double defaultAxisMax = 10.0;

    explicit XYGraph(QWidget *parent = nullptr);

    double xMin() const { return xRange_.min; }
    double xMax() const { return xRange_.max; }
    double yMin() const { return yRange_.min; }
    double yMax() const { return yRange_.max; }
    void setXMin(double value);
    void setXMax(double value);
    void setYMin(double value);
    void setYMax(double value);
    // False (range unchanged) unless both ends are finite and min < max.
    bool setXRange(double min, double max);
    bool setYRange(double min, double max);

    QString xTitle() const { return xTitle_; }
    QString yTitle() const { return yTitle_; }
    void setXTitle(const QString &title);
    void setYTitle(const QString &title);
    // A square plot area keeps one volt as long on both axes, whatever the widget's shape.
    bool squarePlot() const { return squarePlot_; }
    void setSquarePlot(bool square);

    // False (nothing stored) when a coordinate is not finite or the colour is not 0xRRGGBB.
    bool addSegment(double x1, double y1, double x2, double y2, int rgb);
    bool addMarker(double x, double y, int rgb);
    void clear();

    const GraphStore &store() const { return store_; }
    // Where a data point lands in widget pixels; the plot area is plotArea().
    QPoint toPixel(double x, double y) const;
    QRect plotArea() const;
    // Renders the whole widget (axes, labels and traces) as it would appear on screen.
    QImage renderToImage();

    enum class TraceDrawing {
        SkipCovered, // what a full redraw does
        Exact,       // every primitive in plotting order, as ticks add them
    };
    // The traces alone on a transparent image of the plot area's size.
    QImage renderTraces(TraceDrawing how) const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    struct Range {
        double min;
        double max;
    };
    bool setRange(Range &range, double min, double max);
    void placePlotArea();
    QRect plotAreaFor(QSize size) const;
    void invalidateCache();
    void bringCacheUpToDate();
    QImage emptyTraceImage() const;
    static void drawPrimitive(TraceRaster &raster, bool marker, QRgb rgb, const QPointF &a,
                              const QPointF &b);
    void drawPrimitives(QImage &image, std::size_t from, std::size_t to) const;
    void drawAllSkippingCovered(QImage &image) const;
    void drawAxes(QPainter &painter) const;
    void drawTitles(QPainter &painter, const QRect &area) const;
    QPointF toCachePoint(float x, float y) const;
    bool rangesValid() const;

    Range xRange_{defaultAxisMin, defaultAxisMax};
    Range yRange_{defaultAxisMin, defaultAxisMax};
    QString xTitle_;
    QString yTitle_;
    bool squarePlot_ = false;
    QRect plotArea_;
    GraphStore store_;
    QImage cache_;
    std::size_t cachedCount_ = 0;
};

} // namespace panel

#endif
