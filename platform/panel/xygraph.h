// XY graph control: manual axis ranges, line segments and square markers in 24-bit colours.
//
// A trace can grow for hours, so a tick must cost the same at a million segments as at a
// hundred: what is already drawn is kept in a cached image and each paint adds only the
// primitives that arrived since.  The primitives themselves are kept compactly (see
// GraphStore) so the cache can be rebuilt after a resize, an axis change or a clear.
#ifndef ZELBRIN_PLATFORM_PANEL_XYGRAPH_H
#define ZELBRIN_PLATFORM_PANEL_XYGRAPH_H

#include "graph_store.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

class XYGraph : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double xMin READ xMin WRITE setXMin)
    Q_PROPERTY(double xMax READ xMax WRITE setXMax)
    Q_PROPERTY(double yMin READ yMin WRITE setYMin)
    Q_PROPERTY(double yMax READ yMax WRITE setYMax)

  public:
    // Both axes' range until the file or the program sets one.
    static constexpr double kDefaultAxisMin = 0.0;
    static constexpr double kDefaultAxisMax = 10.0;

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

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    struct Range {
        double min;
        double max;
    };
    bool setRange(Range &range, double min, double max);
    void invalidateCache();
    void bringCacheUpToDate();
    void drawPrimitives(QPainter &painter, std::size_t from, std::size_t to) const;
    void drawAxes(QPainter &painter) const;
    QPointF toCachePoint(float x, float y) const;

    Range xRange_{kDefaultAxisMin, kDefaultAxisMax};
    Range yRange_{kDefaultAxisMin, kDefaultAxisMax};
    GraphStore store_;
    QImage cache_;
    std::size_t cachedCount_ = 0;
};

#endif
