#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each in turn, one at a
# time, for the given number of seconds (60 unless given):
#   scripts/fuzz.sh [seconds] [target...]
# Targets: channel_names (the simulated board's channel name parser), bench_file (the
# simulated board's bench file), panel_loader (panel files), script_line (the lines of
# `orvex run` scripts), setup_text (the window's setup files).  Each keeps its corpus in
# build/fuzz/corpus/<target>; a finding stops the script with the crashing input saved in
# build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(channel_names bench_file panel_loader script_line setup_text)

declare -A binary=(
    [channel_names]=tests/simboard/simboard_channel_names_fuzz
    [bench_file]=tests/simboard/simboard_bench_file_fuzz
    [panel_loader]=tests/panel/panel_loader_fuzz
    [script_line]=tests/cli/cli_script_line_fuzz
    [setup_text]=tests/app/zelbrin_setup_text_fuzz)
declare -A dictionary=(
    [channel_names]=tests/simboard/fuzz/channel_names.dict
    [bench_file]=tests/simboard/fuzz/bench_file.dict
    [panel_loader]=tests/panel/fuzz/panel_loader.dict
    [script_line]=tests/cli/fuzz/script_line.dict
    [setup_text]=tests/app/fuzz/setup_text.dict)
# Seed inputs: files of the tree that the target reads in normal use.
declare -A seeds=(
    [channel_names]="tests/simboard/fuzz/seeds/*"
    [bench_file]="tests/simboard/*.json tests/app/stand.json"
    [panel_loader]="tests/panel/test_panel.ui zelbrin/Zelbrin.uir"
    [script_line]="tests/cli/fuzz/seeds/*"
    [setup_text]="tests/app/fuzz/seeds/* docs/screenshot-setup.ini")

cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DORVEX_FUZZ=ON -DORVEX_SANITIZE=ON -DORVEX_BUILD_BENCH=OFF >/dev/null
for target in "${targets[@]}"; do
    cmake --build build/fuzz -j2 --target "$(basename "${binary[$target]}")"
done

# Qt's font and platform caches live as long as the process.
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
for target in "${targets[@]}"; do
    corpus=build/fuzz/corpus/$target
    mkdir -p "$corpus" "build/fuzz/seeds/$target"
    # shellcheck disable=SC2086 # the patterns are meant to expand
    cp ${seeds[$target]} "build/fuzz/seeds/$target/"
    echo "== $target: $seconds s"
    "build/fuzz/${binary[$target]}" -max_total_time="$seconds" -dict="${dictionary[$target]}" \
        -artifact_prefix=build/fuzz/ "$corpus" "build/fuzz/seeds/$target"
done
