// Cost of one sampling tick on a 600x400 graph (two new segments and a repaint) as the
// trace grows, and the memory each stored segment holds.
//
//   build-panel/bench/panel/panel_bench
//
// Counters: tick_ratio_vs_100 = mean tick at this size / mean tick at 100 segments
// (run the 100 case first, as the default order does); bytes_per_segment = memory held by
// the stored trace / segments stored, at exactly the size named.
#include "panel_test_access.h"
#include "userint.h"
#include "xygraph.h"

#include <QCoreApplication>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <random>

namespace {

constexpr int kGraph = 2;

struct Bench {
    int panel = 0;
    XYGraph *graph = nullptr;
};

Bench &bench() {
    static Bench loaded = [] {
        Bench b;
        b.panel = LoadPanel(0, BENCH_PANEL_FILE, 1);
        DisplayPanel(b.panel);
        // Paints reach only an exposed window; the window system exposes it from the loop.
        QWidget *window = panel_test::panelWidget(b.panel);
        while (window && !window->windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        b.graph = panel_test::graphOf(b.panel, kGraph);
        return b;
    }();
    return loaded;
}

// A wandering trace that stays inside the axes, as a joystick's would.
class Trace {
  public:
    void plotSegment(int panel) {
        const double x = std::clamp(x_ + step_(random_), -9.9, 9.9);
        const double y = std::clamp(y_ + step_(random_), -9.9, 9.9);
        PlotLine(panel, kGraph, x_, y_, x, y, (count_++ & 1) ? VAL_RED : VAL_GREEN);
        x_ = x;
        y_ = y;
    }

  private:
    std::mt19937 random_{12345};
    std::normal_distribution<double> step_{0.0, 0.3};
    double x_ = 0.0;
    double y_ = 0.0;
    unsigned count_ = 0;
};

// Fills the graph with `segments` and brings its picture up to date (not timed).
void refill(const Bench &b, Trace &trace, std::size_t segments) {
    DeleteGraphPlot(b.panel, kGraph, VAL_ALL_PLOTS, VAL_IMMEDIATE_DRAW);
    for (std::size_t i = 0; i < segments; ++i)
        trace.plotSegment(b.panel);
    b.graph->repaint();
}

double meanTickAt100 = 0.0;

void BM_GraphTick(benchmark::State &state) {
    const Bench &b = bench();
    if (!b.graph) {
        state.SkipWithError("benchmark panel did not load");
        return;
    }
    const auto stored = static_cast<std::size_t>(state.range(0));
    // Ticks add segments; refilling now and then keeps the size near the one measured.
    const std::size_t allowedGrowth = std::max<std::size_t>(stored / 10, 100);
    Trace trace;
    refill(b, trace, stored);
    const GraphStore &store = b.graph->store();
    const double bytesPerSegment =
        static_cast<double>(store.bytesHeld()) / static_cast<double>(store.segmentCount());
    double seconds = 0.0;
    for (auto _ : state) {
        if (b.graph->store().segmentCount() >= stored + allowedGrowth) {
            refill(b, trace, stored);
        }
        const auto start = std::chrono::steady_clock::now();
        trace.plotSegment(b.panel);
        trace.plotSegment(b.panel);
        b.graph->repaint();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
    }
    const double meanTick = seconds / static_cast<double>(state.iterations());
    if (stored == 100)
        meanTickAt100 = meanTick;
    if (meanTickAt100 > 0.0)
        state.counters["tick_ratio_vs_100"] = meanTick / meanTickAt100;
    state.counters["bytes_per_segment"] = bytesPerSegment;
}

BENCHMARK(BM_GraphTick)
    ->Arg(100)
    ->Arg(10'000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    static std::vector<char *> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    if (!InitCVIRTEEx(nullptr, arguments.data(), nullptr))
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
