// The measurements of every shown channel and the cursors' readings, in a table that copies
// as tab-separated text (Ctrl+C or its Copy button).
#ifndef TOOLS_ORVEX_SCOPE_WINDOW_MEASUREMENT_TABLE_H
#define TOOLS_ORVEX_SCOPE_WINDOW_MEASUREMENT_TABLE_H

#include "core/measurements.h"

#include <QWidget>
#include <optional>
#include <vector>

class QLabel;
class QTableWidget;

namespace scope {

struct ChannelReading {
    QString name;
    Measurements measured;
    std::optional<double> deltaVolts; // between the voltage cursors, in this channel's volts
};

class MeasurementTable : public QWidget {
    Q_OBJECT
  public:
    explicit MeasurementTable(QWidget *parent = nullptr);

    // deltaSeconds: between the time cursors, none when they are hidden.
    void showReadings(const std::vector<ChannelReading> &readings,
                      std::optional<double> deltaSeconds, const QString &over);
    QString text() const;

  public slots:
    void copy() const;

  private:
    QLabel *cursors_;
    QTableWidget *table_;
};

} // namespace scope

#endif
