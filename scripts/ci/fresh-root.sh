#!/usr/bin/env bash
# Proves that the README's set-up works on a machine that has nothing but Debian 12:
# a minimal root made by debootstrap gets a clone of this checkout, and scripts/test.sh
# runs there in a chroot, installing what it needs itself.  Then the packages as a user
# gets them: built on this machine (scripts/package.sh), installed with apt into a second
# bare root that gets nothing else, and started there on the packaged simulated board:
# the scope scans for a few seconds and ends by itself, the lab window stays open.
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

roots=()
mounted=()
cleanup() {
    local i root
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[i]}" 2>/dev/null || umount -lR "${mounted[i]}" || true
    done
    for root in "${roots[@]}"; do
        # Never delete through a mount that stayed: the caches and /dev lie behind them.
        if grep -q " $root/" /proc/mounts; then
            echo "scripts/ci/fresh-root.sh: mounts left under $root; not removing it" >&2
        else
            rm -rf --one-file-system "$root"
        fi
    done
}
trap cleanup EXIT

# Makes a bare root from the tarball in new_root, with /proc, /dev and apt's downloads
# mounted.
make_root() {
    new_root=$(mktemp -d /var/tmp/zelbrin-root.XXXXXX)
    roots+=("$new_root")
    tar -C "$new_root" -xzf "$tarball"
    cp /etc/resolv.conf "$new_root/etc/resolv.conf"
    mount -t proc proc "$new_root/proc" && mounted+=("$new_root/proc")
    mount --rbind /dev "$new_root/dev" && mounted+=("$new_root/dev")
    mount --make-rslave "$new_root/dev"
    mount --bind "$downloads" "$new_root/var/cache/apt/archives" &&
        mounted+=("$new_root/var/cache/apt/archives")
}

in_root() {
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive CCACHE_DIR=/ccache CCACHE_BASEDIR=/src \
        CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
}

make_root
root=$new_root
git clone --quiet "$checkout" "$root/src"
mkdir -p "$root/ccache"
mount --bind "$compiler_cache" "$root/ccache" && mounted+=("$root/ccache")
echo "Fresh root ready after $((SECONDS - started)) s"

in_root "$root" /bin/bash -c 'apt-get update -qq && apt-get install -y -qq --no-install-recommends ccache >/dev/null'
in_root "$root" /bin/bash -c 'cd /src && bash scripts/test.sh'
echo "Fresh Debian 12 root: scripts/test.sh passed in $((SECONDS - started)) s"

bash scripts/package.sh >"$cache/package.log" 2>&1 ||
    { tail -20 "$cache/package.log" >&2; exit 1; }
make_root
user_root=$new_root
mkdir "$user_root/packages"
cp build/packages/{liborvex0,orvex-simboard,orvex-scope,zelbrin}_*.deb "$user_root/packages/"
in_root "$user_root" /bin/bash -c \
    'apt-get update -qq && apt-get install -y -qq --no-install-recommends /packages/*.deb >/dev/null'
# The scope scans on the simulated board, says what it counted and ends by itself; the lab
# window keeps open until it is stopped (status 124 from timeout).
report=$(in_root "$user_root" /bin/bash -c '
    export ORVEX_DRIVER=$(dpkg -L orvex-simboard | grep "/liborvex_simboard.so$")
    export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d)
    orvex-scope --measure 3 2>/dev/null
    status=0
    timeout 5 zelbrin 2>/dev/null || status=$?
    echo "zelbrin status: $status"')
history=$(sed -n 's/^history samples per channel: //p' <<<"$report")
board=$(sed -n 's/^board samples per channel: //p' <<<"$report")
[ -n "$history" ] && [ "$history" -gt 0 ] && [ "$history" = "$board" ] &&
    grep -q '^zelbrin status: 124$' <<<"$report" || {
    echo "scripts/ci/fresh-root.sh: the installed programs did not start as they should:" >&2
    echo "$report" >&2
    exit 1
}
echo "Fresh Debian 12 root: the packages installed with apt; orvex-scope scanned $history" \
    "samples per channel, zelbrin kept its window open ($((SECONDS - started)) s in all)"
