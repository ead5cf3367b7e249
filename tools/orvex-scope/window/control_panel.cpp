#include "control_panel.h"

#include "channel_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace scope {

namespace {

QDoubleSpinBox *spinOf(double low, double high, int decimals, const QString &suffix) {
    auto *spin = new QDoubleSpinBox;
    spin->setRange(low, high);
    spin->setDecimals(decimals);
    spin->setSuffix(suffix);
    spin->setKeyboardTracking(false);
    return spin;
}

} // namespace

ControlPanel::ControlPanel(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    run_ = new QPushButton(tr("Run"));
    single_ = new QPushButton(tr("Single"));
    buttons->addWidget(run_);
    buttons->addWidget(single_);
    layout->addLayout(buttons);
    layout->addWidget(makeAcquisition());
    layout->addWidget(makeTrigger());
    layout->addWidget(makeLines());
    channels_ = new ChannelTable;
    channels_->setMinimumHeight(220);
    layout->addWidget(channels_, 1);
    layout->addWidget(makeGenerator());
    connect(run_, &QPushButton::clicked, this, &ControlPanel::runClicked);
    connect(single_, &QPushButton::clicked, this, &ControlPanel::singleClicked);
    connect(channels_, &ChannelTable::changed, this, &ControlPanel::report);
    showSetup(ScopeSetup());
}

QWidget *ControlPanel::makeAcquisition() {
    auto *box = new QGroupBox(tr("Acquisition"));
    auto *form = new QFormLayout(box);
    mode_ = new QComboBox;
    mode_->addItems({tr("Roll"), tr("Auto"), tr("Normal"), tr("Single")});
    timeBase_ = new QComboBox;
    for (const double step : timeBaseSteps()) {
        timeBase_->addItem(QString::fromStdString(withUnit(step, "s")) + tr("/div"), step);
    }
    rate_ = spinOf(1.0, 1.25e6, 0, tr(" S/s"));
    historyMillions_ = new QSpinBox;
    historyMillions_->setRange(1, 100);
    historyMillions_->setSuffix(tr(" million samples"));
    limits_ = new QLabel;
    limits_->setWordWrap(true);
    cursors_ = new QCheckBox(tr("Cursors"));
    measureOver_ = new QComboBox;
    measureOver_->addItems({tr("the screen"), tr("between the cursors")});
    form->addRow(tr("Mode"), mode_);
    form->addRow(tr("Time base"), timeBase_);
    form->addRow(tr("Rate per channel"), rate_);
    form->addRow(tr("History"), historyMillions_);
    form->addRow(limits_);
    form->addRow(cursors_);
    form->addRow(tr("Measure over"), measureOver_);
    connect(mode_, &QComboBox::currentIndexChanged, this, &ControlPanel::report);
    connect(timeBase_, &QComboBox::currentIndexChanged, this, &ControlPanel::report);
    connect(rate_, &QDoubleSpinBox::valueChanged, this, &ControlPanel::report);
    connect(historyMillions_, &QSpinBox::valueChanged, this, &ControlPanel::report);
    connect(cursors_, &QCheckBox::toggled, this, &ControlPanel::cursorsChanged);
    connect(measureOver_, &QComboBox::currentIndexChanged, this, &ControlPanel::cursorsChanged);
    return box;
}

QWidget *ControlPanel::makeTrigger() {
    auto *box = new QGroupBox(tr("Trigger"));
    auto *form = new QFormLayout(box);
    triggerSource_ = new QComboBox;
    for (int input = 0; input < inputCount; ++input) {
        triggerSource_->addItem(QString("ai%1").arg(input));
    }
    for (int line = 0; line < lineCount; ++line) {
        triggerSource_->addItem(QString::fromStdString(lineName(line)));
    }
    triggerLevel_ = spinOf(-10.0, 10.0, 3, tr(" V"));
    triggerLevel_->setSingleStep(0.1);
    triggerSlope_ = new QComboBox;
    triggerSlope_->addItems({tr("rising"), tr("falling")});
    preTrigger_ = new QSpinBox;
    preTrigger_->setRange(0, 100);
    preTrigger_->setSuffix(tr(" % before"));
    form->addRow(tr("Source"), triggerSource_);
    form->addRow(tr("Level"), triggerLevel_);
    form->addRow(tr("Slope"), triggerSlope_);
    form->addRow(tr("Pre-trigger"), preTrigger_);
    connect(triggerSource_, &QComboBox::currentIndexChanged, this, [this](int source) {
        // A line has no level to set: its edge is the trigger.
        triggerLevel_->setEnabled(source < inputCount);
        report();
    });
    connect(triggerLevel_, &QDoubleSpinBox::valueChanged, this, &ControlPanel::report);
    connect(triggerSlope_, &QComboBox::currentIndexChanged, this, &ControlPanel::report);
    connect(preTrigger_, &QSpinBox::valueChanged, this, &ControlPanel::report);
    return box;
}

QWidget *ControlPanel::makeLines() {
    auto *box = new QGroupBox(tr("Digital lines (read once a block)"));
    box->setToolTip(tr("While the scan runs, the port of a line chosen here is made an input "
                       "port; a port another program holds is not read."));
    auto *grid = new QGridLayout(box);
    for (int port = 0; port < linePorts; ++port) {
        grid->addWidget(new QLabel(QString("port%1").arg(port)), port, 0);
    }
    for (int line = 0; line < lineCount; ++line) {
        auto *check = new QCheckBox(QString::number(line % linesPerPort));
        check->setToolTip(QString::fromStdString(lineName(line)));
        lines_[static_cast<std::size_t>(line)] = check;
        grid->addWidget(check, line / linesPerPort, 1 + line % linesPerPort);
        connect(check, &QCheckBox::toggled, this, &ControlPanel::report);
    }
    return box;
}

QWidget *ControlPanel::makeGenerator() {
    auto *box = new QGroupBox(tr("Generator (starts with the scan)"));
    auto *form = new QFormLayout(box);
    for (int k = 0; k < outputCount; ++k) {
        OutputRow &row = outputs_[static_cast<std::size_t>(k)];
        row.enabled = new QCheckBox(QString("ao%1").arg(k));
        row.waveform = new QComboBox;
        row.waveform->addItems({tr("sine"), tr("square"), tr("triangle"), tr("DC"), tr("file")});
        row.frequency = spinOf(0.001, 1e6, 3, tr(" Hz"));
        row.amplitude = spinOf(-10.0, 10.0, 3, tr(" V"));
        row.offset = spinOf(-10.0, 10.0, 3, tr(" V offset"));
        row.file = new QLineEdit;
        row.file->setPlaceholderText(tr("file of volts, one a line"));
        auto *line = new QHBoxLayout;
        line->addWidget(row.waveform);
        line->addWidget(row.frequency);
        auto *levels = new QHBoxLayout;
        levels->addWidget(row.amplitude);
        levels->addWidget(row.offset);
        form->addRow(row.enabled, line);
        form->addRow(QString(), levels);
        form->addRow(QString(), row.file);
        connect(row.enabled, &QCheckBox::toggled, this, &ControlPanel::report);
        connect(row.waveform, &QComboBox::currentIndexChanged, this, &ControlPanel::report);
        connect(row.frequency, &QDoubleSpinBox::valueChanged, this, &ControlPanel::report);
        connect(row.amplitude, &QDoubleSpinBox::valueChanged, this, &ControlPanel::report);
        connect(row.offset, &QDoubleSpinBox::valueChanged, this, &ControlPanel::report);
        connect(row.file, &QLineEdit::editingFinished, this, &ControlPanel::report);
    }
    onScanClock_ = new QCheckBox(tr("on the scan's clock"));
    outputRate_ = spinOf(1.0, 2.86e6, 0, tr(" S/s"));
    form->addRow(onScanClock_, outputRate_);
    connect(onScanClock_, &QCheckBox::toggled, this, &ControlPanel::report);
    connect(outputRate_, &QDoubleSpinBox::valueChanged, this, &ControlPanel::report);
    return box;
}

void ControlPanel::report() {
    if (!showing_) {
        emit changed();
    }
}

ScopeSetup ControlPanel::setup() const {
    ScopeSetup setup;
    setup.mode = static_cast<SweepMode>(mode_->currentIndex());
    setup.secondsPerDivision = timeBase_->currentData().toDouble();
    setup.rate = rate_->value();
    setup.historyBound = historyMillions_->value() * 1'000'000LL;
    const int source = triggerSource_->currentIndex();
    setup.trigger.input = source < inputCount ? source : 0;
    setup.trigger.line = source < inputCount ? -1 : source - inputCount;
    setup.trigger.level = triggerLevel_->value();
    setup.trigger.rising = triggerSlope_->currentIndex() == 0;
    setup.trigger.preTrigger = preTrigger_->value() / 100.0;
    setup.channels = channels_->channels();
    for (int line = 0; line < lineCount; ++line) {
        if (lines_[static_cast<std::size_t>(line)]->isChecked()) {
            setup.lines |= static_cast<std::uint16_t>(1u << line);
        }
    }
    for (int k = 0; k < outputCount; ++k) {
        const OutputRow &row = outputs_[static_cast<std::size_t>(k)];
        OutputSetup &output = setup.outputs[static_cast<std::size_t>(k)];
        output.enabled = row.enabled->isChecked();
        output.waveform = static_cast<Waveform>(row.waveform->currentIndex());
        output.frequency = row.frequency->value();
        output.amplitude = row.amplitude->value();
        output.offset = row.offset->value();
        output.file = row.file->text().toStdString();
    }
    setup.outputsOnScanClock = onScanClock_->isChecked();
    setup.outputRate = outputRate_->value();
    return setup;
}

void ControlPanel::showSetup(const ScopeSetup &setup) {
    showing_ = true;
    mode_->setCurrentIndex(static_cast<int>(setup.mode));
    int nearest = 0;
    for (int k = 0; k < timeBase_->count(); ++k) {
        if (std::fabs(std::log(timeBase_->itemData(k).toDouble() / setup.secondsPerDivision)) <
            std::fabs(
                std::log(timeBase_->itemData(nearest).toDouble() / setup.secondsPerDivision))) {
            nearest = k;
        }
    }
    timeBase_->setCurrentIndex(nearest);
    rate_->setValue(setup.rate);
    historyMillions_->setValue(static_cast<int>(std::max(1LL, setup.historyBound / 1'000'000)));
    triggerSource_->setCurrentIndex(setup.trigger.line >= 0 ? inputCount + setup.trigger.line
                                                            : setup.trigger.input);
    triggerLevel_->setEnabled(setup.trigger.line < 0);
    triggerLevel_->setValue(setup.trigger.level);
    triggerSlope_->setCurrentIndex(setup.trigger.rising ? 0 : 1);
    preTrigger_->setValue(static_cast<int>(std::lround(setup.trigger.preTrigger * 100.0)));
    channels_->showChannels(setup.channels);
    for (int line = 0; line < lineCount; ++line) {
        lines_[static_cast<std::size_t>(line)]->setChecked(((setup.lines >> line) & 1u) != 0);
    }
    for (int k = 0; k < outputCount; ++k) {
        const OutputRow &row = outputs_[static_cast<std::size_t>(k)];
        const OutputSetup &output = setup.outputs[static_cast<std::size_t>(k)];
        row.enabled->setChecked(output.enabled);
        row.waveform->setCurrentIndex(static_cast<int>(output.waveform));
        row.frequency->setValue(output.frequency);
        row.amplitude->setValue(output.amplitude);
        row.offset->setValue(output.offset);
        row.file->setText(QString::fromStdString(output.file));
    }
    onScanClock_->setChecked(setup.outputsOnScanClock);
    outputRate_->setValue(setup.outputRate);
    showing_ = false;
}

void ControlPanel::showRunning(bool running) {
    run_->setText(running ? tr("Stop") : tr("Run"));
}

void ControlPanel::showLimits(const QString &text) {
    limits_->setText(text);
}

bool ControlPanel::cursorsShown() const {
    return cursors_->isChecked();
}

bool ControlPanel::measureBetweenCursors() const {
    return measureOver_->currentIndex() == 1;
}

} // namespace scope
