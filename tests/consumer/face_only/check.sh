#!/usr/bin/env bash
# Builds a program against the installed orvex, through find_package and through
# pkg-config, once per header in headers.cmake: the face must compile, nothing else may.
#   check.sh PREFIX PKGCONFIG_DIR WORK_DIR
set -euo pipefail
prefix=$1 pkgconfig_dir=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t headers < <(sed -n 's/^    //p' "$here/headers.cmake" | tr ' ' '\n' | grep .)
face=${headers[0]}

fail() {
    echo "face_only: $*" >&2
    exit 1
}

cmake -S "$here" -B "$work" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
for header in "${headers[@]}"; do
    name=$(tr -c 'A-Za-z0-9\n' '_' <<<"$header")
    if cmake --build "$work" --target "$name" >/dev/null 2>&1; then
        [ "$header" = "$face" ] || fail "find_package(orvex): <$header> can be included"
    else
        [ "$header" != "$face" ] || fail "find_package(orvex): the face <$face> does not compile"
    fi
    cflags=$(PKG_CONFIG_PATH=$pkgconfig_dir pkg-config --cflags orvex)
    # shellcheck disable=SC2086 # the flags are words
    if printf '#include <%s>\nint main(void) { return 0; }\n' "$header" |
        cc $cflags -fsyntax-only -x c - >/dev/null 2>&1; then
        [ "$header" = "$face" ] || fail "pkg-config orvex: <$header> can be included"
    else
        [ "$header" != "$face" ] || fail "pkg-config orvex: the face <$face> does not compile"
    fi
done
echo "face_only: a lab program reaches <$face> and none of the $((${#headers[@]} - 1)) others"
