#!/bin/bash
# Runs the test suite on another Debian release, in a system of its own under
# /var/cache/quilvane/CODENAME ($QUILVANE_LANE_CACHE), made once with debootstrap from this
# machine's own archive and reused after that: later runs refresh its packages, bring in the
# current working tree (its build folders stay in the system, so builds there are incremental)
# and run ./scripts/test.sh --this-release ARGS in it.
#   scripts/release-lane.sh bookworm|trixie [ARGS...]
# Needs root. Exits non-zero when the suite fails there. What it mounts and starts in the system
# is unmounted and stopped on the way out, interrupted or not; the machine's own printers,
# settings and packages are not touched.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
# shellcheck source=host-archive.sh
. "$here/host-archive.sh"

usage() {
    echo "usage: $0 bookworm|trixie [test.sh arguments...]" >&2
    exit 2
}
[ $# -ge 1 ] || usage
codename=$1
shift
# shellcheck source=platforms.sh
. "$here/platforms.sh"
release=$(release_fact "$codename" name) || usage
say() { echo "== $release: $*"; }
die() {
    echo "release-lane.sh: $*" >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot and mounts)"
command -v debootstrap >/dev/null || die "debootstrap is missing: ./scripts/install-deps.sh --test installs it"

host_codename=$(release_codename /etc/os-release)
archive=$(host_archive "$host_codename")
[ -n "$archive" ] || die "no apt source of this machine (/etc/apt) serves its own suite '$host_codename'"
security=$(host_archive "$host_codename-security")

cache=${QUILVANE_LANE_CACHE:-/var/cache/quilvane}
mkdir -p "$cache"
cache=$(realpath "$cache")
root=$cache/$codename
exec 9>"$cache/$codename.lock"
flock -n 9 || die "another release lane is using $root"

child=""
making=""
# Every process whose root is DIR or below it: each chroot's programs, and what they left.
stop_rooted_in() {
    local dir=$1 proc link signal found _
    for signal in TERM TERM TERM TERM TERM KILL; do
        found=0
        for proc in /proc/[0-9]*; do
            link=$(readlink "$proc/root" 2>/dev/null) || continue
            case $link in
                "$dir" | "$dir"/*) kill -s "$signal" "${proc#/proc/}" 2>/dev/null && found=1 ;;
            esac
        done
        [ $found -eq 0 ] && return 0
        sleep 1
    done
}
# Deepest first; a busy one is detached so that nothing stays mounted in the system.
unmount_under() {
    local dir=$1 point
    awk -v dir="$dir" '$2 == dir || index($2, dir "/") == 1 { print $2 }' /proc/mounts |
        sort -r | while read -r point; do
        umount "$point" 2>/dev/null || umount -l "$point"
    done
}
# The child's whole process group: debootstrap's helpers run outside the system it makes.
stop_child() {
    local _
    [ -n "$child" ] || return 0
    kill -TERM -- "-$child" 2>/dev/null
    for _ in $(seq 20); do
        kill -0 -- "-$child" 2>/dev/null || break
        sleep 0.5
    done
    kill -KILL -- "-$child" 2>/dev/null
    wait "$child" 2>/dev/null
    child=""
}
clean_up() {
    set +e
    stop_child
    [ -d "$root" ] && stop_rooted_in "$root" && unmount_under "$root"
    if [ -n "$making" ]; then
        stop_rooted_in "$making"
        unmount_under "$making"
        rm -rf --one-file-system "$making"
    fi
    return 0
}
trap clean_up EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# In the background, in a process group of its own, and waited for, so that a signal is dealt
# with at once and reaches all of it.
run() {
    setsid "$@" &
    child=$!
    local status=0
    wait "$child" || status=$?
    child=""
    return $status
}

echo "== $release"
for stale in "$cache/.$codename.making."*; do
    [ -d "$stale" ] || continue
    stop_rooted_in "$stale"
    unmount_under "$stale"
    rm -rf --one-file-system "$stale"
done
if [ ! -d "$root" ]; then
    say "making the system in $root from $archive (debootstrap, some minutes)"
    start=$SECONDS
    making=$(mktemp -d "$cache/.$codename.making.XXXXXX")
    chmod 755 "$making"  # its root folder: apt's downloader and the tests' users must get in
    run debootstrap --variant=minbase "$codename" "$making" "$archive" >"$cache/$codename-debootstrap.log" 2>&1 ||
        { tail -n 20 "$cache/$codename-debootstrap.log"; die "debootstrap failed; its log is $cache/$codename-debootstrap.log"; }
    unmount_under "$making"
    mv "$making" "$root"
    making=""
    say "system made in $((SECONDS - start)) s"
fi

{
    echo "deb $archive $codename main"
    echo "deb $archive $codename-updates main"
    [ -z "$security" ] || echo "deb $security $codename-security main"
} >"$root/etc/apt/sources.list"
rm -f "$root/etc/resolv.conf"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

# Each a mount of its own, private, so that nothing mounted below it reaches the machine's.
mount_private() {
    mount "$@"
    mount --make-private "${*: -1}"
}
mount_private -t proc proc "$root/proc"
mount_private -t sysfs sysfs "$root/sys"
mount_private --bind /dev "$root/dev"
mount_private --bind /dev/pts "$root/dev/pts"
mount_private -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/dev/shm"

# The working tree, build folders aside. A changed file is copied anew, so it is newer than
# what the last build in the system made of it; an unchanged one keeps its time, so that build
# stays incremental. What the tree no longer has goes.
sync_tree() {
    local from=$1 to=$2 file
    local prune=(\( -path ./.git -o -path './build*' -o -path ./Testing -o -path ./.cache \) -prune -o)
    mkdir -p "$to"
    (cd "$from" && find . "${prune[@]}" -type f -print0) | while IFS= read -r -d '' file; do
        cmp -s "$from/$file" "$to/$file" && continue
        mkdir -p "$(dirname "$to/$file")"
        rm -f "$to/$file"
        cp --preserve=mode "$from/$file" "$to/$file"
    done
    (cd "$to" && find . "${prune[@]}" -type f -print0) | while IFS= read -r -d '' file; do
        [ -e "$from/$file" ] || rm -f "$to/$file"
    done
}

in_system() {
    run chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
        ${FUZZ_SECONDS:+FUZZ_SECONDS=$FUZZ_SECONDS} ${ORCA_TEST_KEEP:+ORCA_TEST_KEEP=$ORCA_TEST_KEEP} \
        "$@"
}

say "refreshing its packages"
start=$SECONDS
tree=/root/quilvane
sync_tree "$source_dir" "$root$tree"
in_system apt-get update -qq || die "apt-get update failed in the system"
in_system apt-get upgrade -y -qq >/dev/null || die "apt-get upgrade failed in the system"
in_system "$tree/scripts/install-deps.sh" --test || die "the test set did not install in the system"
# dbus wants a machine id, which only a booted system gets.
in_system dbus-uuidgen --ensure=/etc/machine-id
say "packages refreshed in $((SECONDS - start)) s"

say "test suite"
start=$SECONDS
status=0
in_system /bin/sh -c "cd $tree && exec ./scripts/test.sh --this-release \"\$@\"" test.sh "$@" || status=$?
if [ $status -eq 0 ]; then
    say "the suite passed ($((SECONDS - start)) s)"
else
    say "the suite FAILED (exit $status, $((SECONDS - start)) s)"
fi
exit $status
