#include "measurement_table.h"

#include "core/scope_setup.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace scope {

namespace {

QString reading(double value, const char *unit) {
    return std::isfinite(value) ? QString::fromStdString(withUnit(value, unit)) : QString("--");
}

} // namespace

MeasurementTable::MeasurementTable(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *top = new QHBoxLayout;
    cursors_ = new QLabel;
    auto *copyButton = new QPushButton(tr("Copy"));
    top->addWidget(cursors_, 1);
    top->addWidget(copyButton);
    layout->addLayout(top);
    table_ = new QTableWidget(0, 8);
    table_->setHorizontalHeaderLabels({tr("channel"), tr("min"), tr("max"), tr("mean"), tr("RMS"),
                                       tr("peak-to-peak"), tr("frequency"), tr("\u0394V")});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table_);
    connect(copyButton, &QPushButton::clicked, this, &MeasurementTable::copy);
    auto *shortcut = new QShortcut(QKeySequence::Copy, table_);
    connect(shortcut, &QShortcut::activated, this, &MeasurementTable::copy);
}

void MeasurementTable::showReadings(const std::vector<ChannelReading> &readings,
                                    std::optional<double> deltaSeconds, const QString &over) {
    QString cursorText = tr("Measured over %1.").arg(over);
    if (deltaSeconds) {
        cursorText += QString("  \u0394t %1   1/\u0394t %2")
                          .arg(reading(*deltaSeconds, "s"), reading(1.0 / *deltaSeconds, "Hz"));
    }
    cursors_->setText(cursorText);
    table_->setRowCount(static_cast<int>(readings.size()));
    for (int row = 0; row < int(readings.size()); ++row) {
        const ChannelReading &channel = readings[static_cast<std::size_t>(row)];
        const Measurements &m = channel.measured;
        const QStringList cells = {channel.name,
                                   reading(m.min, "V"),
                                   reading(m.max, "V"),
                                   reading(m.mean, "V"),
                                   reading(m.rms, "V"),
                                   reading(m.peakToPeak, "V"),
                                   reading(m.frequency, "Hz"),
                                   channel.deltaVolts ? reading(*channel.deltaVolts, "V") : "--"};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = table_->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                table_->setItem(row, column, item);
            }
            item->setText(cells[column]);
        }
    }
}

QString MeasurementTable::text() const {
    QStringList lines{cursors_->text()};
    QStringList header;
    for (int column = 0; column < table_->columnCount(); ++column) {
        header << table_->horizontalHeaderItem(column)->text();
    }
    lines << header.join('\t');
    for (int row = 0; row < table_->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table_->columnCount(); ++column) {
            cells << (table_->item(row, column) ? table_->item(row, column)->text() : QString());
        }
        lines << cells.join('\t');
    }
    return lines.join('\n') + '\n';
}

void MeasurementTable::copy() const {
    QApplication::clipboard()->setText(text());
}

} // namespace scope
