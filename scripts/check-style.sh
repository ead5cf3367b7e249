#!/usr/bin/env bash
# Checks the tree's one style: clang-format, the header guards, the include paths
# (scripts/style/check_includes.py) and clang-tidy (naming and a few bug-prone patterns,
# .clang-tidy) over the build's compile_commands.json; flake8 (.flake8) and mypy (mypy.ini)
# over the Python files.
#   scripts/check-style.sh [folders...]        check these folders (default: the whole tree)
#   scripts/check-style.sh --fix [folders...]  rewrite what the tools can mend, in place (the
#                                              Python findings are mended by hand)
# Exits non-zero when something is left to mend.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh

fix=false
if [ "${1:-}" = "--fix" ]; then
    fix=true
    shift
fi
folders=("$@")
if [ ${#folders[@]} -eq 0 ]; then
    folders=(bench examples orvex platform python tests tools zelbrin)
fi
folders=("${folders[@]%/}")
# The whole tree's Python files are wherever they are (scripts/ and the top, too).
python_paths=("${folders[@]/%//*.py}")
if [ $# -eq 0 ]; then
    python_paths=('*.py')
fi
build=${CHECK_STYLE_BUILD:-build}
jobs=${CHECK_STYLE_JOBS:-$(nproc)}

# Tracked and new files alike; the build trees and generated code are never among them.
mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- \
    "${folders[@]/%//*.c}" "${folders[@]/%//*.cpp}" "${folders[@]/%//*.h}" | sort -u)
mapfile -t python_sources < <(git ls-files --cached --others --exclude-standard -- \
    "${python_paths[@]}" | sort -u)
failed=0

# --- Python: flake8 and mypy ----------------------------------------------------------
if [ ${#python_sources[@]} -gt 0 ] && ! $fix; then
    flake8 "${python_sources[@]}" || failed=1
    mypy "${python_sources[@]}" || failed=1
fi

if [ ${#sources[@]} -eq 0 ]; then
    echo "check-style: no C or C++ files in ${folders[*]}"
    exit $failed
fi

# --- clang-format ---------------------------------------------------------------------
if $fix; then
    clang-format -i "${sources[@]}"
elif ! clang-format --dry-run --Werror "${sources[@]}"; then
    failed=1
fi

# --- file names: snake_case --------------------------------------------------------
for source in "${sources[@]}"; do
    if ! [[ $(basename "$source") =~ ^[a-z0-9_]+\.(c|cpp|h)$ ]]; then
        echo "$source: file names are snake_case"
        failed=1
    fi
done

# --- header guards: the path from the top, in capitals --------------------------------
expected_guard() {
    local path=${1%.h} folder stem
    folder=$(dirname "$path")
    stem=$(basename "$path")
    if [ "$(basename "$folder")" = "$stem" ]; then
        path=$folder
    fi
    echo "${path^^}_H" | tr '/.-' '___'
}
for header in "${sources[@]}"; do
    [[ $header == *.h ]] || continue
    want=$(expected_guard "$header")
    have=$(sed -n 's/^#ifndef \([A-Za-z0-9_]*\)$/\1/p' "$header" | head -n 1)
    if [ "$have" = "$want" ] && grep -qx "#define $want" "$header" &&
        ! grep -q '^#pragma once' "$header"; then
        continue
    fi
    if $fix; then
        if grep -q '^#pragma once' "$header"; then
            sed -i "s/^#pragma once$/#ifndef $want\n#define $want/" "$header"
            printf '\n#endif\n' >>"$header"
        elif [ -n "$have" ]; then
            sed -i "s/\b$have\b/$want/g" "$header"
        fi
    else
        echo "$header: the header guard should be $want (it is ${have:-missing})"
        failed=1
    fi
done

# --- includes: a path across folders, no internals of another target ----------------
if ! python3 scripts/style/check_includes.py "${sources[@]}"; then
    failed=1
fi

# --- clang-tidy -----------------------------------------------------------------------
if [ ! -f "$build/compile_commands.json" ]; then
    cmake -S . -B "$build" >/dev/null
fi
folder_pattern=$(printf '%s|' "${folders[@]}")
header_filter="^$root/(${folder_pattern%|})/"
mapfile -t units < <(python3 - "$build/compile_commands.json" "$header_filter" <<'EOF'
import json, re, sys
commands, pattern = sys.argv[1], re.compile(sys.argv[2])
files = {entry["file"] for entry in json.load(open(commands))}
sys.stdout.write("".join(f + "\n" for f in sorted(files) if pattern.match(f)))
EOF
)
# The Qt sources include headers that the build generates.
if [ ${#units[@]} -gt 0 ]; then
    mapfile -t generators < <(cmake --build "$build" --target help |
        sed -n 's/^\.\.\. \(.*_autogen\)$/\1/p')
    if [ ${#generators[@]} -gt 0 ]; then
        cmake --build "$build" -j"$jobs" --target "${generators[@]}" >/dev/null
    fi
fi
# The examples are a lab program's own C project, outside the build's database.
examples=()
for source in "${sources[@]}"; do
    [[ $source == examples/*.c ]] && examples+=("$source")
done

report=$(mktemp)
trap 'rm -f "$report"' EXIT
if $fix; then
    if [ ${#units[@]} -gt 0 ]; then
        mapfile -t unit_patterns < <(printf '^%s$\n' "${units[@]}")
        run-clang-tidy -p "$build" -j "$jobs" -quiet -fix -format -header-filter "$header_filter" \
            "${unit_patterns[@]}" 2>&1 >/dev/null | grep -v 'warnings\? generated' || true
    fi
    for example in "${examples[@]}"; do
        clang-tidy --quiet -fix "$example" -- -std=c99 -Iorvex >/dev/null 2>&1 || true
    done
    clang-format -i "${sources[@]}"
    echo "check-style: fixed what the tools can; check the diff, then run the check again"
    exit 0
fi
if [ ${#units[@]} -gt 0 ]; then
    printf '%s\n' "${units[@]}" |
        xargs -P "$jobs" -n 1 clang-tidy -p "$build" --quiet --header-filter="$header_filter" \
            >>"$report" 2>/dev/null || true
fi
for example in "${examples[@]}"; do
    clang-tidy --quiet "$example" -- -std=c99 -Iorvex >>"$report" 2>/dev/null || true
done
# A header's finding is printed once, not once for every file that includes it.
awk '/^[^ ].*:[0-9]+:[0-9]+: (warning|error): / { keep = !seen[$0]++ } keep' "$report" |
    sed "s|^$root/||"
if grep -qE ': (warning|error): ' "$report"; then
    failed=1
fi
exit $failed
