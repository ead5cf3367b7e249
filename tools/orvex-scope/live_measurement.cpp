#include "live_measurement.h"

#include "window/scope_plot.h"
#include "window/scope_window.h"

#include <QEvent>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace scope {

LiveMeasurement::LiveMeasurement(ScopeWindow &window, double seconds)
    : QObject(&window), window_(window) {
    window.plot()->installEventFilter(this);
    // A coarse timer may end a long run by some per cent early.
    QTimer::singleShot(static_cast<int>(std::lround(seconds * 1000.0)), Qt::PreciseTimer, this,
                       &LiveMeasurement::finish);
    wall_.start();
    processorAtStart_ = std::clock();
    window.run();
}

bool LiveMeasurement::eventFilter(QObject * /*watched*/, QEvent *event) {
    if (event->type() == QEvent::Paint && window_.running()) {
        ++frames_;
    }
    return false;
}

void LiveMeasurement::finish() {
    const double seconds = double(wall_.nsecsElapsed()) * 1e-9;
    // std::clock counts the processor time of every thread of the process.
    const double processor = double(std::clock() - processorAtStart_) / CLOCKS_PER_SEC;
    const long long frames = frames_;
    // Read before the stop, which puts its own line there.
    const QString message = window_.message().replace('\n', ' ');
    window_.stop();
    const SampleHistory *history = window_.history();
    std::printf("seconds: %.3f\n", seconds);
    std::printf("frames: %lld\n", frames);
    std::printf("frames per second: %.2f\n", double(frames) / seconds);
    std::printf("processor seconds: %.3f\n", processor);
    std::printf("share of one core: %.1f %%\n", 100.0 * processor / seconds);
    std::printf("channels: %d\n", history ? history->channels() : 0);
    std::printf("rate per channel: %.1f\n", 1.0 / window_.sampleInterval());
    std::printf("history samples per channel: %lld\n", history ? history->total() : 0LL);
    std::printf("board samples per channel: %lld\n", window_.boardSamplesRead());
    std::printf("message: %s\n", qPrintable(message));
    std::fflush(stdout);
    window_.close();
}

} // namespace scope
