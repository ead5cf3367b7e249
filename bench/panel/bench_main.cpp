// The panel benchmarks run on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "support/panel_test_access.h"

#include <benchmark/benchmark.h>

int main(int argc, char **argv) {
    if (!panel_test::startRuntime(argc, argv)) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
