#!/usr/bin/env bash
# Cost per call of the orvex benchmarks over liborvex.so against the same library linked
# into the program, in one run: the two programs take turns, each benchmark's fastest
# CPU time per call counts, and the ratio shared / linked-in must stay within 1.2.
#     scripts/bench-shared.sh [build tree, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
bench_dir=${1:-build}/bench/orvex
rounds=3

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
for round in $(seq "$rounds"); do
    for variant in orvex_bench_static orvex_bench; do
        "$bench_dir/$variant" --benchmark_min_time=0.2 --benchmark_format=json \
            >"$results/$variant.$round.json"
    done
done

python3 - "$results" "$rounds" <<'PY'
import json, sys
results, rounds = sys.argv[1], int(sys.argv[2])
def fastest(variant):
    best = {}
    for r in range(1, rounds + 1):
        for b in json.load(open(f"{results}/{variant}.{r}.json"))["benchmarks"]:
            best[b["name"]] = min(best.get(b["name"], float("inf")), b["cpu_time"])
    return best
linked, shared = fastest("orvex_bench_static"), fastest("orvex_bench")
worst = 0.0
print(f"{'benchmark':32} {'linked in ns':>12} {'shared ns':>10} {'ratio':>6}")
for name in linked:
    ratio = shared[name] / linked[name]
    worst = max(worst, ratio)
    print(f"{name:32} {linked[name]:12.1f} {shared[name]:10.1f} {ratio:6.2f}")
print(f"largest ratio shared / linked in: {worst:.2f} (limit 1.20)")
sys.exit(0 if worst <= 1.2 else 1)
PY
