#!/usr/bin/env bash
# The Windows part of CI: cross-builds into build/windows, packs the ZIP and runs the
# tests under Wine, headless, in the build tree's own Wine prefix.  Prints how long the
# Wine prefix took to make (first run only) and the whole part.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

prefix=build/windows/wine-prefix
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p build/windows
    prefix_start=$SECONDS
    # A Windows program the prefix can run; wine-run.sh makes the prefix on first use.
    bash scripts/wine-run.sh "$PWD/$prefix" cmd /c exit >/dev/null
    echo "Wine prefix made in $((SECONDS - prefix_start)) s"
fi

bash scripts/build-windows.sh --test
WINEPREFIX="$PWD/$prefix" wineserver -k # the build's own Wine server, started above
echo "Windows build and tests under Wine: $((SECONDS - start)) s"
