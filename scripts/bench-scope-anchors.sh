#!/usr/bin/env bash
# The scope's frame against its anchors in one run, on the same signal of 10^8 samples and the
# same 1000x400 frame: QCustomPlot with its adaptive sampling and pyqtgraph with its
# down-sampling and clip-to-view (Debian's, installed on demand).  Prints one table of
# processor ms a frame and how many times faster than the faster anchor the scope is (goal 5).
#     scripts/bench-scope-anchors.sh [build tree, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

bash scripts/install-deps.sh --anchors
# With the QCustomPlot anchor, which the usual build leaves out.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVEX_BENCH_ANCHORS=ON >/dev/null
cmake --build "$build" -j2 --target orvex_scope_bench orvex_scope_qcustomplot_bench >/dev/null

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/scope/orvex_scope_bench" --benchmark_filter=BM_Frame --benchmark_format=json \
    >"$results/scope.json"
QT_QPA_PLATFORM=offscreen "$build/bench/scope/orvex_scope_qcustomplot_bench" \
    --benchmark_format=json >"$results/qcustomplot.json"
# Debian's interpreter, whose packages pyqtgraph and PyQt6 are.
/usr/bin/python3 bench/scope/pyqtgraph_frames.py >"$results/pyqtgraph.json"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

/usr/bin/python3 - "$results" <<'PY'
import json, sys
results = sys.argv[1]
def benchmark(program):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    return {b["name"]: b["cpu_time"] * scale[b["time_unit"]]
            for b in json.load(open(f"{results}/{program}.json"))["benchmarks"]}
scope, qcp = benchmark("scope"), benchmark("qcustomplot")
pyqtgraph = json.load(open(f"{results}/pyqtgraph.json"))
frames = {
    "BM_FrameWholeHistory": "1 x 10^8, whole history",
    "BM_FrameThousandSamples": "1 x 10^8, 10^3 samples",
    "BM_FrameWholeHistorySixteenChannels": "16 x 6.25*10^6, whole history",
    "BM_FrameThousandSamplesSixteenChannels": "16 x 6.25*10^6, 10^3 samples",
}
print(f"{'frame (ms of processor time)':32} {'scope':>8} {'QCustomPlot':>12} {'pyqtgraph':>10}"
      f" {'faster anchor / scope':>22}")
for name, label in frames.items():
    ratio = min(qcp[name], pyqtgraph[name]) / scope[name]
    print(f"{label:32} {scope[name]:8.3f} {qcp[name]:12.3f} {pyqtgraph[name]:10.3f}"
          f" {ratio:22.1f}")
PY
