#include "channel_table.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QPushButton>

namespace scope {

namespace {

enum Column { ON, SHOWN, COLOUR, VOLTS_PER_DIVISION, OFFSET, RANGE, TERMINAL, COLUMNS };

constexpr std::array<double, 7> boardRanges = {10.0, 5.0, 2.0, 1.0, 0.5, 0.2, 0.1};

QComboBox *comboOf(const QStringList &items) {
    auto *combo = new QComboBox;
    combo->addItems(items);
    return combo;
}

int indexOfNearest(const std::vector<double> &values, double value) {
    int best = 0;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (std::abs(values[k] - value) <
            std::abs(values[static_cast<std::size_t>(best)] - value)) {
            best = static_cast<int>(k);
        }
    }
    return best;
}

} // namespace

ChannelTable::ChannelTable(QWidget *parent) : QTableWidget(inputCount, COLUMNS, parent) {
    setHorizontalHeaderLabels({tr("on"), tr("show"), tr("colour"), tr("V/div"), tr("offset V"),
                               tr("range"), tr("terminal")});
    QStringList names;
    QStringList voltSteps;
    for (const double step : voltageSteps()) {
        voltSteps << QString::fromStdString(withUnit(step, "V"));
    }
    QStringList ranges;
    for (const double range : boardRanges) {
        ranges << QString("\u00b1%1 V").arg(range);
    }
    for (int row = 0; row < inputCount; ++row) {
        names << QString("ai%1").arg(row);
        auto *on = new QCheckBox;
        auto *shown = new QCheckBox;
        auto *colour = new QPushButton;
        auto *volts = comboOf(voltSteps);
        auto *offset = new QDoubleSpinBox;
        offset->setRange(-20.0, 20.0);
        offset->setDecimals(3);
        offset->setSingleStep(0.1);
        auto *range = comboOf(ranges);
        auto *terminal = comboOf({tr("RSE"), tr("NRSE"), tr("DIFF")});
        setCellWidget(row, ON, on);
        setCellWidget(row, SHOWN, shown);
        setCellWidget(row, COLOUR, colour);
        setCellWidget(row, VOLTS_PER_DIVISION, volts);
        setCellWidget(row, OFFSET, offset);
        setCellWidget(row, RANGE, range);
        setCellWidget(row, TERMINAL, terminal);
        auto report = [this] {
            if (!showing_) {
                emit changed();
            }
        };
        connect(on, &QCheckBox::toggled, this, report);
        connect(shown, &QCheckBox::toggled, this, report);
        connect(volts, &QComboBox::currentIndexChanged, this, report);
        connect(offset, &QDoubleSpinBox::valueChanged, this, report);
        connect(range, &QComboBox::currentIndexChanged, this, report);
        connect(terminal, &QComboBox::currentIndexChanged, this, report);
        connect(colour, &QPushButton::clicked, this, [this, row] { pickColour(row); });
    }
    setVerticalHeaderLabels(names);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    showChannels(channels_);
}

void ChannelTable::showChannels(const std::array<ChannelSetup, inputCount> &channels) {
    showing_ = true;
    channels_ = channels;
    const std::vector<double> volts = voltageSteps();
    const std::vector<double> ranges(boardRanges.begin(), boardRanges.end());
    for (int row = 0; row < inputCount; ++row) {
        const ChannelSetup &channel = channels[static_cast<std::size_t>(row)];
        qobject_cast<QCheckBox *>(cellWidget(row, ON))->setChecked(channel.enabled);
        qobject_cast<QCheckBox *>(cellWidget(row, SHOWN))->setChecked(channel.visible);
        qobject_cast<QPushButton *>(cellWidget(row, COLOUR))
            ->setStyleSheet(
                QString("background-color: #%1").arg(channel.colour, 6, 16, QChar('0')));
        qobject_cast<QComboBox *>(cellWidget(row, VOLTS_PER_DIVISION))
            ->setCurrentIndex(indexOfNearest(volts, channel.voltsPerDivision));
        qobject_cast<QDoubleSpinBox *>(cellWidget(row, OFFSET))->setValue(channel.offset);
        qobject_cast<QComboBox *>(cellWidget(row, RANGE))
            ->setCurrentIndex(indexOfNearest(ranges, channel.range));
        qobject_cast<QComboBox *>(cellWidget(row, TERMINAL))->setCurrentIndex(channel.terminal);
    }
    showing_ = false;
}

std::array<ChannelSetup, inputCount> ChannelTable::channels() const {
    std::array<ChannelSetup, inputCount> channels = channels_;
    const std::vector<double> volts = voltageSteps();
    for (int row = 0; row < inputCount; ++row) {
        ChannelSetup &channel = channels[static_cast<std::size_t>(row)];
        channel.enabled = qobject_cast<QCheckBox *>(cellWidget(row, ON))->isChecked();
        channel.visible = qobject_cast<QCheckBox *>(cellWidget(row, SHOWN))->isChecked();
        channel.voltsPerDivision = volts[static_cast<std::size_t>(
            qobject_cast<QComboBox *>(cellWidget(row, VOLTS_PER_DIVISION))->currentIndex())];
        channel.offset = qobject_cast<QDoubleSpinBox *>(cellWidget(row, OFFSET))->value();
        channel.range = boardRanges[static_cast<std::size_t>(
            qobject_cast<QComboBox *>(cellWidget(row, RANGE))->currentIndex())];
        channel.terminal = qobject_cast<QComboBox *>(cellWidget(row, TERMINAL))->currentIndex();
    }
    return channels;
}

void ChannelTable::pickColour(int row) {
    ChannelSetup &channel = channels_[static_cast<std::size_t>(row)];
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(channel.colour), this);
    if (chosen.isValid()) {
        channels_ = channels();
        channels_[static_cast<std::size_t>(row)].colour = chosen.rgb() & 0xFFFFFF;
        showChannels(channels_);
        emit changed();
    }
}

} // namespace scope
