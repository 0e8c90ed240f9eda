#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs `./scripts/test` (or the command given) inside a bare root of another Debian release, made
# anew with mmdebstrap and run as a systemd-nspawn container, as an ordinary user with sudo, on a
# copy of this working tree whose build folder is this tree's build/debian-<codename> (README.md).
# Where it cannot run, it says why in a line "SKIPPED: ..." and exits with status 77.
# Usage: suite_in_debian_root.sh <release: 13 or trixie, 14 or forky for Debian testing>
#        [<command, run in the copy's folder> [<argument>...]]
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/packages.sh
source scripts/lib/debian.sh

codename=$(debian_codename "${1:-}") || {
    echo "usage: $0 <release>, one of: ${DEBIAN_RELEASES[*]} $DEBIAN_TESTING [<command>...]" >&2
    exit 2
}
shift
command=("${@:-./scripts/test}")
cache=$(tavlo_cache)
if [ "$(id -u)" != 0 ] && sudo -n true 2>/dev/null; then
    exec sudo -n TAVLO_CACHE="$cache" CI="${CI:-}" -- "$0" "$codename" "${command[@]}"
fi
[ "$(id -u)" != 0 ] || ensure_packages mmdebstrap systemd-container

work=$(mktemp -d "${TMPDIR:-/var/tmp}/tavlo-debian-$codename.XXXXXX")
machine=$(basename "$work")
leg_pid=
cleanup() {
    local status=$?
    set +e
    stop_debian_root
    # The container's end takes every process in it with it, and its mounts.
    [ -n "$leg_pid" ] && kill "$leg_pid" 2>/dev/null && wait "$leg_pid" 2>/dev/null
    # (Where /run is no tmpfs, systemd-nspawn leaves its folder for this container behind.)
    rm -rf "$work" "/run/systemd/nspawn/propagate/$machine"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# It needs root, a mount namespace in which mounts can be made (not in a chroot whose root is no
# mount point, nor in a container without the right to make one), and Debian's archive.
mkdir "$work/probe"
if [ "$(id -u)" != 0 ]; then
    reason="it needs root, or sudo without a password"
elif ! reason=$(unshare --mount -- mount -t proc proc "$work/probe" 2>&1); then
    reason="no mount namespace with mounts of its own can be made here: $reason"
else
    reason=$(debian_archive_unavailable "$codename" "$work")
fi
if [ -n "$reason" ]; then
    echo "SKIPPED: ${command[*]} in a bare Debian $codename root, as ${reason//$'\n'/ }"
    exit 77
fi

start=$(date +%s)
root=$work/root
user=player
# An ordinary user with sudo, as the README allows, and a copy of what git tracks and would add
# to this working tree, so uncommitted work is tested too, but none of its build folders.
make_debian_root "$codename" "$root" "$cache/debian-$codename-root" \
    --include=sudo,passwd,mount,netbase \
    --customize-hook="chroot \"\$1\" useradd --create-home --shell /bin/bash $user" \
    --customize-hook="echo '$user ALL=(ALL) NOPASSWD: ALL' >\"\$1/etc/sudoers.d/$user\"" \
    --customize-hook="chmod 440 \"\$1/etc/sudoers.d/$user\"" ||
    { echo "FAIL: making the root failed: $(tail -n 30 "$root.log")" >&2; exit 1; }
home=$root/home/$user
mkdir -p "$home/tavlo/build"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard | tar --null -T - -c | tar -x -C "$home/tavlo"
else
    tar -c --exclude=./build --exclude='./build-*' . | tar -x -C "$home/tavlo"
fi
echo "Debian $codename root made in $(($(date +%s) - start))s" >&2

# What the suite downloads there is kept too: apt's packages, and the roots its package test
# makes (the user's cache folder).
packages=$cache/debian-$codename-packages
user_cache=$cache/debian-$codename-user
builds=$PWD/build/debian-$codename
mkdir -p "$packages" "$user_cache" "$builds"
ids=$(chroot "$root" id -u "$user"):$(chroot "$root" id -g "$user")
chown -R "$ids" "$home/tavlo" "$user_cache" "$builds"

# The root as a container, with mounts and processes of its own and the host's network, named
# localhost, which its /etc/hosts (from netbase) knows. Unlike a chroot, it lets the suite's user
# make namespaces of its own there. Its /etc stays its own, for apt-get to change: a copy of the
# host's name servers, and no time zone mounted over its own. Its console is the caller's pipes,
# so it has no /dev/console, which autopkgtest-virt-unshare mounts into its roots: /dev/null
# stands in. The suite does not get the readiness socket, which only root may use (Orca 51 would).
systemd-nspawn --quiet --register=no --keep-unit --console=pipe --directory="$root" \
    --machine="$machine" --hostname=localhost --resolv-conf=copy-host --timezone=off \
    --bind=/dev/null:/dev/console --bind="$packages:/var/cache/apt/archives" \
    --bind="$user_cache:/home/$user/.cache/tavlo" --bind="$builds:/home/$user/tavlo/build" \
    --user="$user" --chdir="/home/$user/tavlo" --setenv=LANG=C.UTF-8 --setenv=CI="${CI:-}" \
    env -u NOTIFY_SOCKET "${command[@]}" </dev/null &
leg_pid=$!
status=0
wait "$leg_pid" || status=$?
leg_pid=
echo "${command[*]} in a bare Debian $codename root: status $status after" \
    "$(($(date +%s) - start))s" >&2
exit "$status"
