// Cost of one sampling tick on a 600x400 graph (two new segments and a repaint) as the
// trace grows, in processor time, and the memory each stored segment holds.
//
//   build/bench/panel/zelbrin_panel_bench --benchmark_filter=Tick
//
// Counters: tick_ratio_vs_100 = mean tick at this size / mean tick at 100 segments
// (run the 100 case first, as the default order does); bytes_per_segment = memory held by
// the stored trace / segments stored, at exactly the size named.
#include "bench_graph.h"

#include "widgets/xygraph.h"

#include <benchmark/benchmark.h>

namespace {

double meanTickAt100 = 0.0;

void BM_GraphTick(benchmark::State &state) {
    const BenchGraph &b = benchGraph();
    if (!b.graph) {
        state.SkipWithError("benchmark panel did not load");
        return;
    }
    const auto stored = static_cast<std::size_t>(state.range(0));
    // Ticks add segments; refilling now and then keeps the size near the one measured.
    const std::size_t allowedGrowth = std::max<std::size_t>(stored / 10, 100);
    Trace trace;
    refill(b, trace, stored);
    const panel::GraphStore &store = b.graph->store();
    const double bytesPerSegment =
        static_cast<double>(store.bytesHeld()) / static_cast<double>(store.segmentCount());
    double seconds = 0.0;
    for (auto _ : state) {
        if (b.graph->store().segmentCount() >= stored + allowedGrowth) {
            refill(b, trace, stored);
        }
        const double start = processorSeconds();
        trace.plotSegment(b.panel);
        trace.plotSegment(b.panel);
        b.graph->repaint();
        const double elapsed = processorSeconds() - start;
        state.SetIterationTime(elapsed);
        seconds += elapsed;
    }
    const double meanTick = seconds / static_cast<double>(state.iterations());
    if (stored == 100) {
        meanTickAt100 = meanTick;
    }
    if (meanTickAt100 > 0.0) {
        state.counters["tick_ratio_vs_100"] = meanTick / meanTickAt100;
    }
    state.counters["bytes_per_segment"] = bytesPerSegment;
}

BENCHMARK(BM_GraphTick)
    ->Arg(100)
    ->Arg(10'000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
