// The anchor for the scope's frame: QCustomPlot, with its adaptive sampling, drawing the same
// signal of 10^8 samples into a pixmap of the scope's frame size, the whole of it on screen
// and a window of 10^3 samples, for one channel and for 16.  Run by
// scripts/bench-scope-anchors.sh beside the scope's own benchmark.
#include "bench_signal.h"
#include "frame_cases.h"

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <QApplication>
#include <cstdlib>
#include <memory>
#include <vector>

namespace scope {
namespace {

constexpr double voltsOnScreen = 8.0; // eight divisions of 1 V, as the scope's benchmark

// A plot whose data area is the whole frame, without axes or grid, as the scope's traces.
std::unique_ptr<QCustomPlot> plotOf(int channels) {
    auto plot = std::make_unique<QCustomPlot>();
    plot->resize(frameWidth, frameHeight);
    plot->setBackground(QColor(0x10, 0x10, 0x10));
    plot->axisRect()->setAutoMargins(QCP::msNone);
    plot->axisRect()->setMargins(QMargins());
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis}) {
        axis->setVisible(false);
        axis->grid()->setVisible(false);
    }
    plot->yAxis->setRange(-voltsOnScreen / 2.0, voltsOnScreen / 2.0);

    const long long perChannel = historySamples / channels;
    std::vector<QVector<QCPGraphData>> points(static_cast<std::size_t>(channels));
    for (QVector<QCPGraphData> &trace : points) {
        trace.reserve(perChannel);
    }
    constexpr long long block = 1 << 16;
    BenchSignal signal(channels);
    std::vector<double> scans(static_cast<std::size_t>(block * channels));
    for (long long done = 0; done < perChannel; done += block) {
        const long long count = std::min(block, perChannel - done);
        signal.fill(scans.data(), count);
        for (long long n = 0; n < count; ++n) {
            for (int k = 0; k < channels; ++k) {
                points[static_cast<std::size_t>(k)].append(
                    {double(done + n), scans[static_cast<std::size_t>(n * channels + k)]});
            }
        }
    }
    for (int k = 0; k < channels; ++k) {
        QCPGraph *graph = plot->addGraph();
        graph->setPen(
            QPen(QColor::fromRgb(0xFF000000U | (0x30E0FFU + 0x101010U * unsigned(k))), 1.0));
        graph->setAdaptiveSampling(true);
        auto data = QSharedPointer<QCPGraphDataContainer>::create();
        data->set(points[static_cast<std::size_t>(k)], true);
        graph->setData(data);
    }
    return plot;
}

QCustomPlot &fullPlot(int channels) {
    static std::unique_ptr<QCustomPlot> plot;
    static int plotChannels = 0;
    if (!plot || plotChannels != channels) {
        plot.reset();
        plot = plotOf(channels);
        plotChannels = channels;
    }
    return *plot;
}

void drawFrames(benchmark::State &state, int channels, double span) {
    QCustomPlot &plot = fullPlot(channels);
    const long long perChannel = historySamples / channels;
    const auto samples = double(perChannel);
    const double start = span >= samples ? 0.0 : samples - span - windowBeforeNewest;
    plot.xAxis->setRange(start, start + span);
    for (auto _ : state) {
        QPixmap frame = plot.toPixmap(frameWidth, frameHeight);
        benchmark::DoNotOptimize(frame);
    }
    state.counters["samples"] = samples * channels;
}

} // namespace
} // namespace scope

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    scope::registerFrames(scope::drawFrames);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
