#include "bench_graph.h"

#include "support/panel_test_access.h"
#include "uiruntime/userint.h"
#include "widgets/xygraph.h"

#include <QCoreApplication>
#include <QWindow>
#include <algorithm>
#include <ctime>

const BenchGraph &benchGraph() {
    static BenchGraph loaded = [] {
        BenchGraph b;
        b.panel = LoadPanel(0, BENCH_PANEL_FILE, 1);
        DisplayPanel(b.panel);
        // Paints reach only an exposed window; the window system exposes it from the loop.
        QWidget *window = panel_test::panelWidget(b.panel);
        while (window && !window->windowHandle()->isExposed()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        b.graph = panel_test::graphOf(b.panel, benchGraphControl);
        return b;
    }();
    return loaded;
}

void Trace::plotSegment(int panel) {
    const double x = std::clamp(x_ + step_(random_), -9.9, 9.9);
    const double y = std::clamp(y_ + step_(random_), -9.9, 9.9);
    PlotLine(panel, benchGraphControl, x_, y_, x, y, (count_++ & 1) ? VAL_RED : VAL_GREEN);
    x_ = x;
    y_ = y;
}

void refill(const BenchGraph &b, Trace &trace, std::size_t segments) {
    DeleteGraphPlot(b.panel, benchGraphControl, VAL_ALL_PLOTS, VAL_IMMEDIATE_DRAW);
    for (std::size_t i = 0; i < segments; ++i) {
        trace.plotSegment(b.panel);
    }
    b.graph->repaint();
}

double processorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}
