#!/usr/bin/env bash
# The Windows part of CI: cross-builds into build/windows, packs the ZIP and runs the
# tests under Wine, headless, in the build tree's own Wine prefix, then checks what the
# ZIP holds.  Prints how long the Wine prefix took to make (first run only) and the whole
# part.
set -euo pipefail
cd "$(dirname "$0")/../.."
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
# The ZIP holds what docs/building.md lists.
listing=$(cmake -E tar tf build/windows/orvex-*-win64.zip)
for entry in bin/orvex.dll bin/orvex_simboard.dll bin/orvex.exe include/orvex.h \
    lib/orvex.dll.a lib/orvex.def; do
    if ! grep -q "/$entry\$" <<<"$listing"; then
        echo "The Windows ZIP lacks $entry" >&2
        exit 1
    fi
done
WINEPREFIX="$PWD/$prefix" wineserver -k # the build's own Wine server, started above
echo "Windows build and tests under Wine: $((SECONDS - start)) s"
