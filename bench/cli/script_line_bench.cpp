// How the time to split a `run` script line grows with the line: linearly, so that a
// megabyte line (the longest a script may have) is split in milliseconds.
//
//     build/bench/cli/orvex_cli_bench --benchmark_filter=SplitScriptLine
#include "commands/script_line.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

namespace {

void splitScriptLine(benchmark::State &state) {
    std::string line = "ai read 5";
    while (line.size() < std::size_t(state.range(0))) {
        line += " x";
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvex_cli::splitScriptLine(line));
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(splitScriptLine)->RangeMultiplier(8)->Range(1 << 11, 1 << 20)->Complexity(benchmark::oN);

} // namespace
