// The scope's window: the screen, the measurements and the controls, and the scan that
// feeds them from a worker thread.  While the worker runs, it alone calls the library.
#ifndef TOOLS_ORVEX_SCOPE_WINDOW_SCOPE_WINDOW_H
#define TOOLS_ORVEX_SCOPE_WINDOW_SCOPE_WINDOW_H

#include "acquisition/scan_source.h"
#include "core/frame_picker.h"
#include "core/line_history.h"
#include "core/roll_view.h"
#include "core/sample_history.h"
#include "core/scope_setup.h"

#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <thread>
#include <vector>

namespace scope {

class ControlPanel;
class MeasurementTable;
class ScanWorker;
class ScopePlot;

class ScopeWindow : public QMainWindow {
    Q_OBJECT
  public:
    // 40 frames a second: a frame late now and then still leaves the screen above 30.
    static constexpr int frameMilliseconds = 25;

    explicit ScopeWindow(QWidget *parent = nullptr);
    ~ScopeWindow() override;

    // Where the next runs take their scans from: the board unless a test says otherwise.
    void setScanSource(ScanSourceMaker maker) { makeSource_ = std::move(maker); }
    void run();
    // Waits for the worker to stop its scan and release its tasks.
    void stop();
    // Single, or Run after a held single frame: a new capture that waits for a new trigger.
    void rearm();
    bool running() const { return worker_ != nullptr; }
    // One frame: what the frame timer does while running.
    void tick();

    ScopeSetup setup() const;
    void applySetup(const ScopeSetup &setup);
    bool saveSetup(const QString &path);
    bool loadSetup(const QString &path);
    // The screen's stretch, or the whole history, one column per channel of the scan.
    bool exportCsv(const QString &path, bool wholeHistory);
    bool exportPng(const QString &path);

    const SampleHistory *history() const { return history_.get(); }
    const LineHistory &lines() const { return lines_; }
    ScopePlot *plot() const { return plot_; }
    ControlPanel *controls() const { return controls_; }
    MeasurementTable *measurements() const { return measurements_; }
    // The line of state over the screen.
    QString message() const;
    // Samples per channel the library counted in the last scan, once it stopped.
    long long boardSamplesRead() const { return boardSamplesRead_; }
    // The scan's inputs, in the history's channel order.
    const std::vector<int> &inputs() const { return inputs_; }
    double sampleInterval() const { return 1.0 / rate_; }

  signals:
    // The worker's thread has ended and every task is released.
    void acquisitionEnded();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void buildMenus();
    void onScans(const QList<double> &scans);
    void onStarted(double rate);
    void onRefused(const QString &message);
    void onLines(quint16 levels, quint16 known);
    void onPortsRefused(const QString &message);
    void onViewMoved();
    void onFailed(const QString &message);
    void onFinished(qint64 samplesRead);
    void onSetupChanged();
    void showTraces();
    void showLimits();
    void showState(const Frame &frame);
    void updateMeasurements();
    FrameRequest frameRequest() const;
    int historyChannelOf(int input) const;
    // Whether the trigger's source is read by the scan running, and its name.
    bool triggerSourceRead() const;
    QString triggerSourceName() const;
    // The mode the frames follow: roll while the trigger's source is not read.
    SweepMode sweepMode() const;

    ControlPanel *controls_;
    ScopePlot *plot_;
    MeasurementTable *measurements_;
    ScopeSetup setup_;
    std::unique_ptr<SampleHistory> history_;
    std::vector<int> inputs_;
    LineHistory lines_;
    std::vector<int> linePorts_; // read by the scan
    RollView roll_;
    double rate_ = 1000.0;
    FramePicker picker_;
    ScanSourceMaker makeSource_ = boardScanSource;
    std::unique_ptr<ScanWorker> worker_;
    // Joined, not a QThread: Qt frees its record of a thread only as the thread ends,
    // which may be after QThread::wait() returns and so after the program has ended.
    std::thread scanThread_;
    QTimer frameTimer_;
    QElapsedTimer sinceMeasured_;
    QString boardMessage_; // the holder of the converter, or why the scan failed
    QString linesMessage_; // the holder of a port of the digital lines
    QString frameMessage_;
    long long boardSamplesRead_ = 0;
};

} // namespace scope

#endif
