#include "scope_window.h"

#include "acquisition/scan_worker.h"
#include "control_panel.h"
#include "core/stretch_measurements.h"
#include "files/csv_export.h"
#include "files/setup_store.h"
#include "measurement_table.h"
#include "scope_plot.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace scope {

namespace {

constexpr int measurementMilliseconds = 250;
constexpr double aggregateLimit = 1.0e6;
constexpr double singleChannelLimit = 1.25e6;
// Auto runs free after this long without a trigger, or two screens if longer.
constexpr double autoSeconds = 0.2;
// Noise of this share of a division riding on an edge does not trigger twice.
constexpr double hysteresisOfDivision = 0.05;
// The logic traces share one colour, apart from the inputs' palette.
constexpr QRgb lineColour = 0xFF60E0A0;

QString megabytes(std::size_t bytes) {
    return QString::number(double(bytes) / 1e6, 'f', 1);
}

QSettings userSettings() {
    return QSettings("Zelbrin", "orvex-scope");
}

} // namespace

ScopeWindow::ScopeWindow(QWidget *parent) : QMainWindow(parent) {
    setWindowTitle(tr("orvex-scope"));
    controls_ = new ControlPanel;
    plot_ = new ScopePlot;
    measurements_ = new MeasurementTable;
    auto *left = new QSplitter(Qt::Vertical);
    left->addWidget(plot_);
    left->addWidget(measurements_);
    left->setStretchFactor(0, 4);
    left->setStretchFactor(1, 1);
    auto *scroll = new QScrollArea;
    scroll->setWidget(controls_);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(controls_->sizeHint().width() + 24);
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 1);
    setCentralWidget(splitter);
    buildMenus();
    resize(1280, 800);

    connect(controls_, &ControlPanel::runClicked, this, [this] { running() ? stop() : run(); });
    connect(controls_, &ControlPanel::singleClicked, this, &ScopeWindow::rearm);
    connect(controls_, &ControlPanel::changed, this, &ScopeWindow::onSetupChanged);
    connect(controls_, &ControlPanel::cursorsChanged, this, [this] {
        Cursors cursors = plot_->cursors();
        if (controls_->cursorsShown() && !cursors.shown) {
            const Frame &frame = plot_->frame();
            cursors.samples = {frame.start + frame.span / 3.0,
                               frame.start + frame.span * 2.0 / 3.0};
        }
        cursors.shown = controls_->cursorsShown();
        plot_->setCursors(cursors);
        updateMeasurements();
    });
    connect(plot_, &ScopePlot::cursorsMoved, this, &ScopeWindow::updateMeasurements);
    connect(plot_, &ScopePlot::viewMoved, this, &ScopeWindow::onViewMoved);
    connect(&frameTimer_, &QTimer::timeout, this, &ScopeWindow::tick);
    frameTimer_.setInterval(frameMilliseconds);

    QSettings settings = userSettings();
    applySetup(readSetup(settings));
    plot_->setNavigable(true);
    sinceMeasured_.start();
}

ScopeWindow::~ScopeWindow() {
    stop();
}

void ScopeWindow::buildMenus() {
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("Export the screen as CSV..."), this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Export the screen"), {}, "CSV (*.csv)");
        if (!path.isEmpty() && !exportCsv(path, false)) {
            QMessageBox::warning(this, windowTitle(), tr("%1 could not be written.").arg(path));
        }
    });
    file->addAction(tr("Export the whole history as CSV..."), this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Export the history"), {}, "CSV (*.csv)");
        if (!path.isEmpty() && !exportCsv(path, true)) {
            QMessageBox::warning(this, windowTitle(), tr("%1 could not be written.").arg(path));
        }
    });
    file->addAction(tr("Export the screen as PNG..."), this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Export the picture"), {}, "PNG (*.png)");
        if (!path.isEmpty() && !exportPng(path)) {
            QMessageBox::warning(this, windowTitle(), tr("%1 could not be written.").arg(path));
        }
    });
    file->addSeparator();
    file->addAction(tr("Save setup..."), this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Save setup"), {}, tr("Scope setup (*.ini)"));
        if (!path.isEmpty() && !saveSetup(path)) {
            QMessageBox::warning(this, windowTitle(), tr("%1 could not be written.").arg(path));
        }
    });
    file->addAction(tr("Load setup..."), this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, tr("Load setup"), {}, tr("Scope setup (*.ini)"));
        if (!path.isEmpty() && !loadSetup(path)) {
            QMessageBox::warning(this, windowTitle(), tr("%1 is no scope setup.").arg(path));
        }
    });
    file->addSeparator();
    file->addAction(tr("Quit"), QKeySequence::Quit, this, &QWidget::close);
}

ScopeSetup ScopeWindow::setup() const {
    return setup_;
}

void ScopeWindow::applySetup(const ScopeSetup &setup) {
    setup_ = setup;
    controls_->showSetup(setup);
    onSetupChanged();
}

void ScopeWindow::onSetupChanged() {
    const ScopeSetup previous = setup_;
    setup_ = controls_->setup();
    const bool scanChanged = previous.enabledInputs() != setup_.enabledInputs() ||
                             previous.rate != setup_.rate ||
                             previous.linePortsRead() != setup_.linePortsRead();
    const bool triggerChanged = previous.mode != setup_.mode ||
                                previous.trigger.input != setup_.trigger.input ||
                                previous.trigger.line != setup_.trigger.line ||
                                previous.trigger.level != setup_.trigger.level ||
                                previous.trigger.rising != setup_.trigger.rising;
    if (running() && triggerChanged && history_) {
        picker_.arm(history_->total());
    }
    if (previous.mode != setup_.mode || previous.secondsPerDivision != setup_.secondsPerDivision) {
        roll_.follow();
    }
    plot_->setNavigable(!running() || sweepMode() == SweepMode::Roll);
    if (!running() && plot_->frame().empty) {
        rate_ = setup_.rate;
    }
    showTraces();
    showLimits();
    if (running() && scanChanged) {
        frameMessage_ = tr("The new channels and rate take effect at the next Run.");
    }
    if (!running()) {
        updateMeasurements();
    }
}

bool ScopeWindow::saveSetup(const QString &path) {
    return saveSetupFile(path, setup_);
}

bool ScopeWindow::loadSetup(const QString &path) {
    const std::optional<ScopeSetup> loaded = loadSetupFile(path);
    if (loaded) {
        applySetup(*loaded);
    }
    return loaded.has_value();
}

bool ScopeWindow::triggerSourceRead() const {
    const int line = setup_.trigger.line;
    if (line < 0) {
        return historyChannelOf(setup_.trigger.input) >= 0;
    }
    return std::find(linePorts_.begin(), linePorts_.end(), line / linesPerPort) != linePorts_.end();
}

QString ScopeWindow::triggerSourceName() const {
    return setup_.trigger.line >= 0 ? QString::fromStdString(lineName(setup_.trigger.line))
                                    : QString("ai%1").arg(setup_.trigger.input);
}

SweepMode ScopeWindow::sweepMode() const {
    return triggerSourceRead() ? setup_.mode : SweepMode::Roll;
}

int ScopeWindow::historyChannelOf(int input) const {
    const auto found = std::find(inputs_.begin(), inputs_.end(), input);
    return found == inputs_.end() ? -1 : static_cast<int>(found - inputs_.begin());
}

void ScopeWindow::showTraces() {
    std::vector<TraceStyle> traces;
    std::optional<TriggerMark> mark;
    for (int channel = 0; channel < int(inputs_.size()); ++channel) {
        const ChannelSetup &setup =
            setup_.channels[static_cast<std::size_t>(inputs_[static_cast<std::size_t>(channel)])];
        if (!setup.visible) {
            continue;
        }
        if (inputs_[static_cast<std::size_t>(channel)] == setup_.trigger.input &&
            setup_.trigger.line < 0 && setup_.mode != SweepMode::Roll) {
            mark = TriggerMark{static_cast<int>(traces.size()), setup_.trigger.level};
        }
        traces.push_back(
            {channel, 0xFF000000 | setup.colour, setup.voltsPerDivision, setup.offset});
    }
    std::vector<LineStyle> lines;
    for (const int line : setup_.chosenLines()) {
        if (line == setup_.trigger.line && setup_.mode != SweepMode::Roll) {
            mark = TriggerMark{-1, 0.0, static_cast<int>(lines.size())};
        }
        lines.push_back({line, lineColour, QString::fromStdString(lineName(line))});
    }
    plot_->setTraces(std::move(traces));
    plot_->setLines(&lines_, std::move(lines));
    plot_->setTriggerMark(mark);
}

void ScopeWindow::showLimits() {
    const int channels = std::max<int>(1, static_cast<int>(setup_.enabledInputs().size()));
    const double limit = channels == 1 ? singleChannelLimit : aggregateLimit;
    const double inAll = setup_.rate * channels;
    QString text = tr("%1 channel(s) \u00d7 %2 S/s = %3 S/s in all, of at most %4 S/s%5.")
                       .arg(channels)
                       .arg(setup_.rate, 0, 'f', 0)
                       .arg(inAll, 0, 'f', 0)
                       .arg(limit, 0, 'f', 0)
                       .arg(inAll > limit ? tr(": too fast, the board refuses it") : QString());
    const long long capacity = SampleHistory::capacityFor(channels, setup_.historyBound);
    text += tr(" History: up to %1 samples in all (%2 s), %3 MB when full; the oldest are dropped.")
                .arg(capacity * channels)
                .arg(double(capacity) / setup_.rate, 0, 'g', 3)
                .arg(megabytes(SampleHistory::bytesAtBound(channels, setup_.historyBound)));
    controls_->showLimits(text);
}

void ScopeWindow::run() {
    if (running()) {
        return;
    }
    setup_ = controls_->setup();
    inputs_ = setup_.enabledInputs();
    rate_ = setup_.rate;
    history_ = std::make_unique<SampleHistory>(
        static_cast<int>(std::max<std::size_t>(1, inputs_.size())), setup_.historyBound);
    plot_->setHistory(history_.get());
    lines_.clear();
    linePorts_ = setup_.linePortsRead();
    picker_.arm(0);
    roll_.follow();
    boardMessage_.clear();
    linesMessage_.clear();
    frameMessage_.clear();
    boardSamplesRead_ = 0;
    showTraces();

    worker_ = std::make_unique<ScanWorker>(makeSource_(), planOf(setup_));
    // The worker stays the window's object; what it sends from its thread is queued.
    ScanWorker *worker = worker_.get();
    connect(worker, &ScanWorker::scansRead, this, &ScopeWindow::onScans);
    connect(worker, &ScanWorker::started, this, &ScopeWindow::onStarted);
    connect(worker, &ScanWorker::refused, this, &ScopeWindow::onRefused);
    connect(worker, &ScanWorker::linesRead, this, &ScopeWindow::onLines);
    connect(worker, &ScanWorker::portsRefused, this, &ScopeWindow::onPortsRefused);
    connect(worker, &ScanWorker::failed, this, &ScopeWindow::onFailed);
    connect(worker, &ScanWorker::finished, this, &ScopeWindow::onFinished);
    plot_->setNavigable(sweepMode() == SweepMode::Roll);
    controls_->showRunning(true);
    scanThread_ = std::thread([worker] { worker->run(); });
    frameTimer_.start();
}

void ScopeWindow::stop() {
    if (!running()) {
        return;
    }
    frameTimer_.stop();
    worker_->requestStop();
    scanThread_.join();
    // What the worker sent before it ended is still on its way: take it in first.
    QCoreApplication::sendPostedEvents(this);
    worker_.reset();
    plot_->setNavigable(true);
    controls_->showRunning(false);
    if (frameMessage_.isEmpty() || plot_->frame().status != FrameStatus::Held) {
        frameMessage_ = tr("Stopped: the wheel, a drag and the arrow keys zoom and scroll.");
    }
    plot_->setStatus(message());
    updateMeasurements();
    emit acquisitionEnded();
}

void ScopeWindow::rearm() {
    stop();
    run();
}

void ScopeWindow::onScans(const QList<double> &scans) {
    if (history_) {
        history_->append(scans.data(), scans.size() / history_->channels());
    }
}

void ScopeWindow::onLines(quint16 levels, quint16 known) {
    if (history_ && history_->total() > 0) {
        // Read after the block: its level stands from the block's last sample on.
        lines_.record(history_->total() - 1, levels, known);
        lines_.dropBefore(history_->first());
    }
}

void ScopeWindow::onPortsRefused(const QString &message) {
    linesMessage_ =
        message.isEmpty()
            ? QString()
            : tr("The digital lines are not read: %1 Trying again every second.").arg(message);
    plot_->setStatus(this->message());
}

void ScopeWindow::onViewMoved() {
    if (running() && sweepMode() == SweepMode::Roll && history_) {
        const Frame &shown = plot_->frame();
        roll_.moved(shown.start, shown.span, history_->total());
    }
    updateMeasurements();
}

void ScopeWindow::onStarted(double rate) {
    rate_ = rate;
    boardMessage_.clear();
}

void ScopeWindow::onRefused(const QString &message) {
    boardMessage_ = tr("The converter is held: %1 Trying again every second.").arg(message);
    plot_->setStatus(this->message());
}

void ScopeWindow::onFailed(const QString &message) {
    boardMessage_ = tr("The scan stopped: %1").arg(message);
    plot_->setStatus(this->message());
}

void ScopeWindow::onFinished(qint64 samplesRead) {
    boardSamplesRead_ = samplesRead;
    // A scan that failed ends its worker by itself; the window follows.
    if (worker_ && !boardMessage_.isEmpty()) {
        QTimer::singleShot(0, this, &ScopeWindow::stop);
    }
}

FrameRequest ScopeWindow::frameRequest() const {
    FrameRequest request;
    request.mode = setup_.mode;
    request.span = setup_.secondsPerDivision * divisionsAcross * rate_;
    request.preTrigger = setup_.trigger.preTrigger;
    if (setup_.trigger.line >= 0) {
        request.line = setup_.trigger.line;
    }
    request.condition.channel = std::max(0, historyChannelOf(setup_.trigger.input));
    request.condition.level = setup_.trigger.level;
    request.condition.rising = setup_.trigger.rising;
    request.condition.hysteresis =
        hysteresisOfDivision *
        setup_.channels[static_cast<std::size_t>(setup_.trigger.input)].voltsPerDivision;
    request.autoAfter = static_cast<long long>(std::max(2.0 * request.span, autoSeconds * rate_));
    return request;
}

void ScopeWindow::tick() {
    if (!history_) {
        return;
    }
    FrameRequest request = frameRequest();
    if (request.mode != SweepMode::Roll && !triggerSourceRead()) {
        frameMessage_ =
            tr("The trigger source %1 is not in the scan: rolling.").arg(triggerSourceName());
    }
    request.mode = sweepMode();
    if (request.mode == SweepMode::Roll) {
        request.span = roll_.span(request.span);
    }
    Frame frame = picker_.next(*history_, request, &lines_);
    if (request.mode == SweepMode::Roll) {
        frame = roll_.place(frame);
    }
    plot_->setFrame(frame);
    showState(frame);
    if (sinceMeasured_.elapsed() >= measurementMilliseconds) {
        updateMeasurements();
    }
    if (frame.status == FrameStatus::Held && running()) {
        stop();
        frameMessage_ = tr("Single: this frame is held until Single or Run re-arms.");
        plot_->setStatus(message());
    }
}

void ScopeWindow::showState(const Frame &frame) {
    const ScopeSetup &s = setup_;
    switch (frame.status) {
    case FrameStatus::Waiting:
        frameMessage_ =
            s.trigger.line >= 0
                ? tr("Waiting for trigger: %1 %2.")
                      .arg(triggerSourceName(), s.trigger.rising ? tr("rising") : tr("falling"))
                : tr("Waiting for trigger: %1 %2 through %3 V.")
                      .arg(triggerSourceName(), s.trigger.rising ? tr("rising") : tr("falling"))
                      .arg(s.trigger.level);
        break;
    case FrameStatus::Free:
        frameMessage_ = tr("Auto: no trigger.");
        break;
    case FrameStatus::Rolling:
        if (!roll_.following()) {
            frameMessage_ = tr("Held here while the capture goes on: End returns to the newest.");
            break;
        }
        [[fallthrough]];
    case FrameStatus::Triggered:
    case FrameStatus::Held:
        if (triggerSourceRead() || s.mode == SweepMode::Roll) {
            frameMessage_.clear();
        }
        break;
    }
    plot_->setStatus(message());
}

QString ScopeWindow::message() const {
    QStringList lines;
    if (!boardMessage_.isEmpty()) {
        lines << boardMessage_;
    }
    if (!linesMessage_.isEmpty()) {
        lines << linesMessage_;
    }
    if (!frameMessage_.isEmpty()) {
        lines << frameMessage_;
    }
    return lines.join('\n');
}

void ScopeWindow::updateMeasurements() {
    sinceMeasured_.restart();
    const Frame &frame = plot_->frame();
    const Cursors &cursors = plot_->cursors();
    const bool between = cursors.shown && controls_->measureBetweenCursors();
    std::vector<ChannelReading> readings;
    if (history_ && !frame.empty) {
        const double from =
            between ? std::min(cursors.samples[0], cursors.samples[1]) : frame.start;
        const double to =
            between ? std::max(cursors.samples[0], cursors.samples[1]) : frame.start + frame.span;
        for (const TraceStyle &trace : plot_->traces()) {
            ChannelReading reading;
            reading.name = QString("ai%1").arg(inputs_[static_cast<std::size_t>(trace.channel)]);
            reading.measured =
                measureStretch(*history_, trace.channel, static_cast<long long>(std::ceil(from)),
                               static_cast<long long>(std::floor(to)) + 1, sampleInterval());
            if (cursors.shown) {
                // The voltage cursors sit on the first trace's scale; each trace reads the
                // same two heights on its own.
                const TraceStyle &first = plot_->traces().front();
                const double height = plot_->height();
                reading.deltaVolts =
                    voltsOfPixel(pixelOfVolts(cursors.volts[1], first, height), trace, height) -
                    voltsOfPixel(pixelOfVolts(cursors.volts[0], first, height), trace, height);
            }
            readings.push_back(reading);
        }
    }
    std::optional<double> deltaSeconds;
    if (cursors.shown) {
        deltaSeconds = std::fabs(cursors.samples[1] - cursors.samples[0]) * sampleInterval();
    }
    measurements_->showReadings(readings, deltaSeconds,
                                between ? tr("the cursors' stretch") : tr("the screen"));
}

bool ScopeWindow::exportCsv(const QString &path, bool wholeHistory) {
    if (!history_) {
        return false;
    }
    QStringList names;
    for (const int input : inputs_) {
        names << QString("ai%1 (V)").arg(input);
    }
    const Frame &frame = plot_->frame();
    const long long from =
        wholeHistory ? history_->first() : static_cast<long long>(std::ceil(frame.start));
    const long long to = wholeHistory
                             ? history_->total()
                             : static_cast<long long>(std::floor(frame.start + frame.span)) + 1;
    return scope::exportCsv(path, *history_, names, from, to, sampleInterval());
}

bool ScopeWindow::exportPng(const QString &path) {
    return plot_->grab().save(path, "PNG");
}

void ScopeWindow::closeEvent(QCloseEvent *event) {
    stop();
    QSettings settings = userSettings();
    writeSetup(settings, setup_);
    event->accept();
}

} // namespace scope
