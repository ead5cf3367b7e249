#!/usr/bin/env bash
# Proves that the README's set-up works on a machine that has nothing but Debian 12:
# a minimal root made by debootstrap gets a clone of this checkout, and scripts/test.sh
# runs there in a chroot, installing what it needs itself.
#
# The bare root is kept as a tarball between runs (ZELBRIN_CI_CACHE, by default
# /var/cache/zelbrin-ci), and so are the package files apt downloads into it and the
# compiler cache (ccache, installed in the root before the test); what scripts/test.sh
# installs is installed afresh every time.  Needs root (debootstrap, mount, chroot).
set -euo pipefail
cd "$(dirname "$0")/../.."
checkout=$PWD

cache=${ZELBRIN_CI_CACHE:-/var/cache/zelbrin-ci}
tarball=$cache/bookworm-minbase.tar.gz
downloads=$cache/apt-archives
compiler_cache=$cache/ccache
mirror=${ZELBRIN_CI_MIRROR:-http://deb.debian.org/debian}

if [ "$(id -u)" -ne 0 ]; then
    echo "scripts/ci/fresh-root.sh: needs root for debootstrap, mount and chroot" >&2
    exit 1
fi
mkdir -p "$cache" "$downloads/partial" "$compiler_cache"
started=$SECONDS

if [ ! -f "$tarball" ]; then
    echo "Making the bare Debian 12 root (once; kept in $tarball)"
    bare=$(mktemp -d /var/tmp/zelbrin-bare.XXXXXX)
    debootstrap --variant=minbase bookworm "$bare" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
        { tail -20 "$cache/debootstrap.log" >&2; rm -rf "$bare"; exit 1; }
    tar -C "$bare" -czf "$tarball.part" . && mv "$tarball.part" "$tarball"
    rm -rf "$bare"
fi

root=$(mktemp -d /var/tmp/zelbrin-root.XXXXXX)
mounted=()
cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[i]}" 2>/dev/null || umount -lR "${mounted[i]}" || true
    done
    # Never delete through a mount that stayed: the caches and /dev lie behind them.
    if grep -q " $root/" /proc/mounts; then
        echo "scripts/ci/fresh-root.sh: mounts left under $root; not removing it" >&2
    else
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT

tar -C "$root" -xzf "$tarball"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone --quiet "$checkout" "$root/src"

mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --rbind /dev "$root/dev" && mounted+=("$root/dev")
mount --make-rslave "$root/dev"
mount --bind "$downloads" "$root/var/cache/apt/archives" && mounted+=("$root/var/cache/apt/archives")
mkdir -p "$root/ccache"
mount --bind "$compiler_cache" "$root/ccache" && mounted+=("$root/ccache")
echo "Fresh root ready after $((SECONDS - started)) s"

in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive CCACHE_DIR=/ccache CCACHE_BASEDIR=/src \
        CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
}
in_root /bin/bash -c 'apt-get update -qq && apt-get install -y -qq --no-install-recommends ccache >/dev/null'
in_root /bin/bash -c 'cd /src && bash scripts/test.sh'
echo "Fresh Debian 12 root: scripts/test.sh passed in $((SECONDS - started)) s"
