// Runs a continuous scan on a thread of its own and hands its blocks to the window.  The
// library keeps one state for the process and is not thread-safe: while a worker runs,
// it alone calls the library; the window calls it again only after the worker's thread
// has ended.
#ifndef TOOLS_ORVEX_SCOPE_ACQUISITION_SCAN_WORKER_H
#define TOOLS_ORVEX_SCOPE_ACQUISITION_SCAN_WORKER_H

#include "scan_plan.h"
#include "scan_source.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <atomic>
#include <memory>

namespace scope {

class ScanWorker : public QObject {
    Q_OBJECT
  public:
    static constexpr double blockSeconds = 0.015;
    static constexpr double retrySeconds = 1.0;

    ScanWorker(std::unique_ptr<ScanSource> source, ScanPlan plan)
        : source_(std::move(source)), plan_(std::move(plan)) {}

    // On the worker's own thread: scans until stopped, then sends finished.
    void run();

    // From any thread: the worker stops its scan and returns from run() soon after.
    void requestStop() { stopping_ = true; }

  signals:
    // The scan runs: its rate per channel as the driver runs the clock.
    void started(double rate);
    // scans: whole scans of every channel, one sample of each in the plan's order.
    void scansRead(const QList<double> &scans);
    // The converter is held; the text names the holder.  Tried again every second.
    void refused(const QString &message);
    // The plan's digital ports read right after the block just sent: bit n is line n, and a
    // line of a port that could not be read is not known.
    void linesRead(quint16 levels, quint16 known);
    // A port could not be taken (the text names its holder), or "" once every port is read.
    // Tried again every second.
    void portsRefused(const QString &message);
    void failed(const QString &message);
    // The scan stopped; samplesRead per channel, as the library counted them.
    void finished(qint64 samplesRead);

  private:
    // true when the scan started; false after a failure or a stop while refused.
    bool start();
    void readUntilStopped();
    void pauseUnlessStopped(double seconds);
    void readLines();

    std::unique_ptr<ScanSource> source_;
    ScanPlan plan_;
    std::atomic<bool> stopping_ = false;
    std::array<bool, linePorts> portTaken_{};
    QElapsedTimer sincePortsTried_;
    QString portRefusal_;
};

} // namespace scope

#endif
