// What the graph benchmarks share: the benchmark panel with its 600x400 graph, and a
// wandering two-colour trace that stays inside the axes, as a joystick's would.
#ifndef BENCH_PANEL_BENCH_GRAPH_H
#define BENCH_PANEL_BENCH_GRAPH_H

#include <cstddef>
#include <random>

namespace panel {
class XYGraph;
} // namespace panel

inline constexpr int benchGraphControl = 2;

struct BenchGraph {
    int panel = 0;
    panel::XYGraph *graph = nullptr;
};

// Loaded and shown on first use.
const BenchGraph &benchGraph();

class Trace {
  public:
    void plotSegment(int panel);

  private:
    std::mt19937 random_{12345};
    std::normal_distribution<double> step_{0.0, 0.3};
    double x_ = 0.0;
    double y_ = 0.0;
    unsigned count_ = 0;
};

// Fills the graph with `segments` and brings its picture up to date (not timed).
void refill(const BenchGraph &b, Trace &trace, std::size_t segments);

// Processor time the program has used, in seconds.  The benchmarks time with it rather
// than the wall clock: a redraw runs on the GUI thread alone, so on an idle machine the two
// agree, and on a shared one only this is repeatable.
double processorSeconds();

#endif
