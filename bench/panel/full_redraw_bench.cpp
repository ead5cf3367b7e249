// A full redraw of a long trace (what an axis change, a resize or a clear costs), beside
// the plain way of drawing the same segments: one antialiased drawLines per colour.
//
//   build/bench/panel/panel_bench --benchmark_filter=Redraw
//
// Both run on the same 600x400 graph and the same wandering two-colour trace; the counter
// plain_over_graph = plain drawLines time / graph redraw time at the same size.
#include "bench_graph.h"

#include "userint.h"
#include "xygraph.h"

#include <QPainter>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>

namespace {

double seconds(std::chrono::steady_clock::duration elapsed) {
    return std::chrono::duration<double>(elapsed).count();
}

std::map<std::int64_t, double> plainSeconds;

// What a graph without a cache would do: every segment, grouped by colour.
void BM_PlainDrawLinesRedraw(benchmark::State &state) {
    const BenchGraph &b = benchGraph();
    Trace trace;
    refill(b, trace, static_cast<std::size_t>(state.range(0)));
    const panel::GraphStore &store = b.graph->store();
    std::map<std::uint32_t, std::vector<QLineF>> byColour;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const panel::GraphPrimitive p = store.at(i);
        const QPoint origin = b.graph->plotArea().topLeft();
        byColour[p.rgb].emplace_back(b.graph->toPixel(p.x1, p.y1) - origin,
                                     b.graph->toPixel(p.x2, p.y2) - origin);
    }
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QImage image(b.graph->plotArea().size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        for (const auto &[rgb, lines] : byColour) {
            painter.setPen(QPen(QColor::fromRgb(rgb), 1.5));
            painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        }
        painter.end();
        const double elapsed = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(elapsed);
        total += elapsed;
    }
    plainSeconds[state.range(0)] = total / static_cast<double>(state.iterations());
}

// The graph's own full redraw, through the runtime: the same axis range set again.
void BM_GraphFullRedraw(benchmark::State &state) {
    const BenchGraph &b = benchGraph();
    Trace trace;
    refill(b, trace, static_cast<std::size_t>(state.range(0)));
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SetAxisScalingMode(b.panel, kBenchGraph, VAL_XAXIS, VAL_MANUAL, -10.0, 10.0);
        b.graph->repaint();
        const double elapsed = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(elapsed);
        total += elapsed;
    }
    const double mean = total / static_cast<double>(state.iterations());
    if (const auto plain = plainSeconds.find(state.range(0)); plain != plainSeconds.end())
        state.counters["plain_over_graph"] = plain->second / mean;
}

// A resize to another size and back: two full redraws at different plot areas.
void BM_GraphResizeRedraw(benchmark::State &state) {
    const BenchGraph &b = benchGraph();
    Trace trace;
    refill(b, trace, static_cast<std::size_t>(state.range(0)));
    const QSize size = b.graph->size();
    bool grown = false;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        b.graph->resize(grown ? size : size + QSize(40, 40));
        b.graph->repaint();
        state.SetIterationTime(seconds(std::chrono::steady_clock::now() - start));
        grown = !grown;
    }
    b.graph->resize(size);
}

void BM_GraphClearRedraw(benchmark::State &state) {
    const BenchGraph &b = benchGraph();
    Trace trace;
    for (auto _ : state) {
        state.PauseTiming();
        refill(b, trace, static_cast<std::size_t>(state.range(0)));
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        DeleteGraphPlot(b.panel, kBenchGraph, VAL_ALL_PLOTS, VAL_IMMEDIATE_DRAW);
        b.graph->repaint();
        state.SetIterationTime(seconds(std::chrono::steady_clock::now() - start));
    }
}

void redrawSizes(benchmark::internal::Benchmark *b) {
    b->Arg(100)->Arg(10'000)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_PlainDrawLinesRedraw)->Apply(redrawSizes);
BENCHMARK(BM_GraphFullRedraw)->Apply(redrawSizes);
BENCHMARK(BM_GraphResizeRedraw)->Apply(redrawSizes);
BENCHMARK(BM_GraphClearRedraw)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
