// The main() of the simulated board's benchmarks: each runs on a board of its own (virtual
// time included), chosen before the board is loaded.
#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char **argv) {
    setenv("ORVEX_SIM_BENCH", PRIVATE_BENCH_FILE, 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
