// A full redraw of a long trace (what an axis change, a resize or a clear costs), beside
// the plain way of drawing the same segments: one antialiased drawLines per colour.
//
//   build/bench/panel/zelbrin_panel_bench --benchmark_filter=Redraw
//
// All run on the same 600x400 graph and the same wandering two-colour trace, timed in
// processor time; the counter plain_over_graph = plain drawLines time / graph redraw time
// at the same size, in the same run (the plain case runs first, as the default order does).
#include "bench_graph.h"

#include "uiruntime/userint.h"
#include "widgets/xygraph.h"

#include <QPainter>
#include <benchmark/benchmark.h>
#include <map>

namespace {

std::map<std::int64_t, double> plainSeconds;

// Times one pass of work as the benchmark's iteration time; returns the seconds.
template <typename Work> double timed(benchmark::State &state, Work work) {
    const double start = processorSeconds();
    work();
    const double elapsed = processorSeconds() - start;
    state.SetIterationTime(elapsed);
    return elapsed;
}

void comparePlain(benchmark::State &state, double totalSeconds) {
    const double mean = totalSeconds / static_cast<double>(state.iterations());
    if (const auto plain = plainSeconds.find(state.range(0)); plain != plainSeconds.end()) {
        state.counters["plain_over_graph"] = plain->second / mean;
    }
}

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
        total += timed(state, [&] {
            QImage image(b.graph->plotArea().size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            for (const auto &[rgb, lines] : byColour) {
                painter.setPen(QPen(QColor::fromRgb(rgb), 1.5));
                painter.drawLines(lines.data(), static_cast<int>(lines.size()));
            }
        });
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
        total += timed(state, [&] {
            SetAxisScalingMode(b.panel, benchGraphControl, VAL_XAXIS, VAL_MANUAL, -10.0, 10.0);
            b.graph->repaint();
        });
    }
    comparePlain(state, total);
}

// A resize to another size and back: each iteration one full redraw at a new plot area.
void BM_GraphResizeRedraw(benchmark::State &state) {
    const BenchGraph &b = benchGraph();
    Trace trace;
    refill(b, trace, static_cast<std::size_t>(state.range(0)));
    const QSize size = b.graph->size();
    bool grown = false;
    double total = 0.0;
    for (auto _ : state) {
        total += timed(state, [&] {
            b.graph->resize(grown ? size : size + QSize(40, 40));
            b.graph->repaint();
        });
        grown = !grown;
    }
    b.graph->resize(size);
    comparePlain(state, total);
}

void BM_GraphClearRedraw(benchmark::State &state) {
    const BenchGraph &b = benchGraph();
    Trace trace;
    for (auto _ : state) {
        state.PauseTiming();
        refill(b, trace, static_cast<std::size_t>(state.range(0)));
        state.ResumeTiming();
        timed(state, [&] {
            DeleteGraphPlot(b.panel, benchGraphControl, VAL_ALL_PLOTS, VAL_IMMEDIATE_DRAW);
            b.graph->repaint();
        });
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
