#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Tavlo for arm64, cross-built with Debian's packages alone (cmake/aarch64-linux-gnu.cmake) and
# run under qemu, in a bare root of this machine's own Debian release with arm64 as a foreign
# architecture (suite_in_debian_root.sh), which builds in build/debian-<codename>/ (README.md).
#   arm64.sh package [--check]  builds the .deb and prints its path; --check then checks it and
#                               installs it into bare roots of this release and every later one
#   arm64.sh test               builds the program and its tests, runs them under qemu, then
#                               packs, checks and installs the package as --check does, here alone
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/packages.sh
source scripts/lib/debian.sh

in_root=false
[ "${1:-}" != --in-root ] || { in_root=true && shift; }
case ${1:-}:${2:-} in
package:) check=false ;;
package:--check | test:) check=true ;;
*)
    echo "usage: $0 package [--check] | test" >&2
    exit 2
    ;;
esac
command=$1

# Outside the root: the same command in a root of this machine's release.
if ! $in_root; then
    codename=$(host_codename)
    if ! debian_codename "$codename" >/dev/null; then
        echo "SKIPPED: the arm64 build is made in a root of this machine's own Debian release;" \
            "'$codename' is not one supported (${DEBIAN_RELEASES[*]} $DEBIAN_TESTING)"
        exit 77
    fi
    again=(scripts/lib/arm64.sh --in-root "$@")
    [ "$command" = package ] || exec scripts/lib/suite_in_debian_root.sh "$codename" "${again[@]}"
    debian_root_path "$codename" "${again[@]}"
    exit
fi

# The cross compilers, Qt's tools for this machine and Qt's libraries for arm64 side by side (Qt's
# dev package is Multi-Arch: same), qemu, and what the machine's own package is made and checked
# with (scripts/package).
packages=(cmake ninja-build ccache crossbuild-essential-arm64 qemu-user qt6-base-dev
    qt6-base-dev-tools qt6-base-dev:arm64 libgl-dev:arm64 fonts-liberation dpkg-dev file)
! $check || packages+=(lintian desktop-file-utils appstream mmdebstrap uidmap)
# The tests' packages, as scripts/test's, with Qt's Wayland plugin, whose messages the test
# without a display expects.
[ "$command" != test ] || packages+=(libgtest-dev:arm64 libgmock-dev:arm64 libx11-dev:arm64
    qt6-base-private-dev:arm64 qt6-wayland:arm64 xvfb xauth xdotool imagemagick procps dbus
    openbox x11-utils)
dpkg --print-foreign-architectures | grep -qx arm64 || "${as_root[@]}" dpkg --add-architecture arm64
# The root goes with the run: dpkg need not wait for each file to reach the disk.
echo force-unsafe-io | "${as_root[@]}" tee /etc/dpkg/dpkg.cfg.d/unsafe-io >/dev/null
ensure_packages "${packages[@]}" >&2
! $check || ensure_subids

# dpkg-buildflags and dpkg-shlibdeps make arm64's flags and read the program with arm64's objdump.
export DEB_HOST_ARCH=arm64
# What was compiled before is taken from ccache's cache, kept with the downloads between runs: a
# change rebuilds what it touches, as in a build folder of one's own.
CCACHE_DIR=$(tavlo_cache)/ccache-arm64
export CCACHE_DIR
# Configures and builds folder $1 with the -D options that follow, as the machine's own package is.
arm64_build() {
    local build=$1 start=$SECONDS
    shift
    debian_configure "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/aarch64-linux-gnu.cmake" \
        -DTAVLO_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
        -DCPACK_DEBIAN_PACKAGE_ARCHITECTURE=arm64 "$@"
    nice -n 10 cmake --build "$build" --parallel "$(nproc)" >&2
    echo "arm64 build in $build: $((SECONDS - start))s" >&2
}

# Installs package $1 with apt into a bare root of each release that follows, with arm64 as a
# foreign architecture, and runs the package's own test there (dist/debian/tests/start) under
# qemu: started from its desktop entry as an ordinary user, its window must show, and Exit must
# end it with status 0.
arm64_install_test() {
    local deb=$1 codename start work reason
    shift
    work=$(mktemp -d)
    for codename in "$@"; do
        reason=$(debian_archive_unavailable "$codename" "$work")
        [ -z "$reason" ] || { echo "SKIPPED: installing the arm64 package on Debian $codename:" \
            "$reason"; exit 77; }
        start=$SECONDS
        make_debian_root "$codename" "$work/$codename" "$(tavlo_cache)/arm64-root-$codename" \
            --format=null --architectures="$(dpkg --print-architecture),arm64" \
            --dpkgopt=force-unsafe-io \
            --include=passwd,qemu-user,xvfb,xauth,xdotool \
            --customize-hook="upload '$deb' /tmp/tavlo.deb" \
            --customize-hook='chroot "$1" apt-get install -y --no-install-recommends \
                /tmp/tavlo.deb' \
            --customize-hook='chroot "$1" useradd --create-home player' \
            --customize-hook="upload dist/debian/tests/start /tmp/start" \
            --customize-hook='chroot "$1" install -d -o player /tmp/test' \
            --customize-hook='chroot "$1" setpriv --reuid=player --regid=player --init-groups \
                env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/home/player LANG=C.UTF-8 \
                AUTOPKGTEST_TMP=/tmp/test "TAVLO_EMULATOR=qemu-aarch64 -L /" bash /tmp/start' ||
            { echo "FAIL: on Debian $codename: $(tail -n 30 "$work/$codename.log")"; exit 1; }
        echo "Debian $codename (arm64 as a foreign architecture):" \
            "$(grep -h '^the installed program' "$work/$codename.log") under qemu" \
            "($((SECONDS - start))s)" >&2
    done
    rm -rf "$work"
}

# The tests, each program started through qemu. Left out: Orca and sway (qemu's programs are not
# the ones they look for by name, and Orca's speech takes too long under it), the machine's own
# package test, the desktop files' checks (the same files for every machine), and the monkey
# test's random clicks, which try the rules rather than the machine.
if [ "$command" = test ]; then
    build=build/arm64
    arm64_build "$build" -DBUILD_TESTING=ON
    start=$SECONDS
    left_out='accessibility_bus.*|wayland_window|deb_package|desktop_entry_valid|metainfo_valid'
    ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 600 \
        -E "^($left_out|monkey)\$"
    echo "the tests under qemu took $((SECONDS - start))s" >&2
    codenames=("$(host_codename)")
else
    build=build/arm64-package
    arm64_build "$build" -DBUILD_TESTING=OFF
    mapfile -t codenames < <(debian_codenames_from_host)
fi

deb=$(debian_package "$build")
$check || echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)" >&2
if $check; then
    # Checked as the machine's own package is, against arm64's libraries, and installed into bare
    # roots under qemu.
    dist/package_test.sh --deb "$deb" --desktop-id io.github.tavlo.Tavlo --arch arm64 >&2
    arm64_install_test "$deb" "${codenames[@]}" >&2
fi
[ "$command" = test ] || echo "$deb"
