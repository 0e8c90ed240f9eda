#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package: packs the build tree into a .deb (or takes a .deb already made) and
# runs lintian on it, which fails on any warning. Then it checks what lintian cannot know about
# this package: its Depends against the libraries the program is linked with, its files against
# the project's, and its entry and metainfo as installed. Last, for this machine's Debian release
# and every later one supported (a package built for Debian 12 installs on Debian 13 too),
# autopkgtest installs it with apt-get into a bare root of that release, made with mmdebstrap from
# nothing but Debian's own packages, and runs dist/debian/tests there: the installed program must
# start from its entry, as an ordinary user, and end with status 0 on Exit. That proves the
# Depends complete on each release.
# The roots need user namespaces with subordinate ids for whoever runs this (root too), and the
# Debian archive this machine's apt sources name. Where one is missing, or this machine runs a
# release no package is made for, the checks of the package itself still run (and fail as ever),
# and then the script names what is missing in a line "SKIPPED: ..." and exits with status 77.
# Usage: package_test.sh (--config <CPackConfig.cmake> | --deb <package .deb>) --desktop-id <id>
#            [--arch <Debian architecture>] [--cache <download cache folder>] [--cpack <path>]
#            [--desktop-file-validate <path>] [--appstreamcli <path>] [--lintian <path>]
#            [--mmdebstrap <path>] [--autopkgtest <path>]
# A tool not given is run by its bare name; the cache is the user's (tavlo_cache) unless given.
# A package for another architecture than this machine's (--arch arm64) is checked against that
# architecture's libraries, installed here beside this machine's, and not installed into the
# roots: scripts/lib/arm64.sh installs it there itself, under qemu.
set -euo pipefail
usage() {
    sed -n '/^# Usage:/,/^# A tool/s/^# //p' "$0" >&2
    exit 2
}
config='' deb='' id='' cache='' arch=''
cpack=cpack desktop_file_validate=desktop-file-validate appstreamcli=appstreamcli lintian=lintian
autopkgtest=autopkgtest
export MMDEBSTRAP=mmdebstrap
while [ $# -gt 0 ]; do
    [ $# -ge 2 ] || usage
    case $1 in
    --config) config=$2 ;;
    --deb) deb=$2 ;;
    --desktop-id) id=$2 ;;
    --arch) arch=$2 ;;
    --cache) cache=$2 ;;
    --cpack) cpack=$2 ;;
    --desktop-file-validate) desktop_file_validate=$2 ;;
    --appstreamcli) appstreamcli=$2 ;;
    --lintian) lintian=$2 ;;
    --mmdebstrap) MMDEBSTRAP=$2 ;;
    --autopkgtest) autopkgtest=$2 ;;
    *) usage ;;
    esac
    shift 2
done
# One of --config and --deb, and the desktop id.
[ "${config:+1}${deb:+1}" = 1 ] && [ -n "$id" ] || usage
dist=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../scripts/lib/debian.sh
source "$dist/../scripts/lib/debian.sh"
cache=${cache:-$(tavlo_cache)}
arch=${arch:-$(dpkg --print-architecture)}
work=$(mktemp -d)
finish() {
    local status=$?
    set +e
    stop_debian_root
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT
trap 'exit 143' TERM INT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The releases the package is installed on, and whether a root of each can be made here.
codenames=$(debian_codenames_from_host)
skip_reason=
if [ -z "$codenames" ]; then
    skip_reason="this machine runs $(host_codename), not a release supported (${DEBIAN_RELEASES[*]})"
elif ! probe=$(unshare --map-auto --map-root-user --user true 2>&1); then
    skip_reason="no user namespace with subordinate ids can be made here ($probe): give $(id -un)"
    skip_reason+=" a range in /etc/subuid and /etc/subgid (usermod --add-subuids, --add-subgids)"
fi
for codename in $codenames; do
    [ -n "$skip_reason" ] || skip_reason=$(debian_archive_unavailable "$codename" "$work")
done
if [ -z "$deb" ]; then
    # A fresh output folder, so no package left over from an earlier run can pass for this one.
    "$cpack" --config "$config" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed: $(cat "$work/cpack.log")"
    debs=("$work"/cpack/*.deb)
    [ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: $(ls "$work/cpack")"
    deb=${debs[0]}
fi
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"

# Debian's package checker, on the package as it is: any error or warning fails (information
# tags are shown, not counted). Its scratch files go to the work folder: lintian leaves some.
lintian_out=$(TMPDIR=$work "$lintian" --display-info --fail-on error,warning "$deb" \
    2>"$work/lintian.err") || fail "lintian reports errors or warnings: $lintian_out $(cat "$work/lintian.err")"
echo "lintian: ${lintian_out:-no tags}"

# Control fields lintian accepts whatever they say.
field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
[ "$(field Architecture)" = "$arch" ] ||
    fail "Architecture is '$(field Architecture)'"
[ "$(field Homepage)" = https://github.com/tavlo/tavlo ] || fail "Homepage is '$(field Homepage)'"
# A relation field's package names, one a line; alternatives count too, versions do not.
names() { field "$1" | tr ',|' '\n' | sed 's/(.*)//; s/[[:space:]]//g'; }
# The packages of the package's architecture that hold the libraries the program is linked with,
# as this machine names them (Debian 13 renamed many, libqt6core6t64 say), must each be in
# Depends, and the font the window is measured for. The test's own packages come with the
# package in autopkgtest's root, and could hide a library missing here.
dpkg-deb --fsys-tarfile "$deb" | tar -x -O ./usr/games/tavlo >"$work/program"
libraries=$(readelf -d "$work/program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
[ -n "$libraries" ] || fail "the program is linked with no library"
multiarch=$(dpkg-architecture -a "$arch" -q DEB_HOST_MULTIARCH 2>/dev/null)
for library in $libraries fonts-liberation; do
    owner=$library
    [[ $library != *.so* ]] ||
        owner=$(dpkg -S "*/$multiarch/$library" | cut -d: -f1 | sort -u) ||
        fail "no installed package holds $library"
    names Depends | grep -qx -F "$owner" || fail "Depends lacks $owner: $(field Depends)"
done
# Qt's Wayland plugin is recommended, not required: autopkgtest installs no Recommends.
names Recommends | grep -qx qt6-wayland || fail "Recommends lacks qt6-wayland: $(field Recommends)"
! names Depends | grep -qx qt6-wayland || fail "Depends has qt6-wayland: $(field Depends)"
echo "Depends: $(field Depends); Recommends: $(field Recommends)"

# The files are the project's: icons, changelog and manual page.
unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
share=$unpacked/usr/share
for pair in "icons/hicolor/32x32/apps/$id.png assets/images/icon32.png" \
    "icons/hicolor/scalable/apps/$id.svg assets/src/icon.svg"; do
    read -r file origin <<<"$pair"
    cmp -s "$share/$file" "$dist/../$origin" || fail "/usr/share/$file is not $origin"
done
for pair in "doc/tavlo/changelog.Debian.gz changelog" "man/man6/tavlo.6.gz tavlo.6"; do
    read -r file origin <<<"$pair"
    zcat "$share/$file" | cmp -s - "$dist/$origin" || fail "/usr/share/$file is not dist/$origin"
done
# The changelog's newest entry and the manual page name this version, by the package's maintainer.
zcat "$share/doc/tavlo/changelog.Debian.gz" >"$work/changelog"
changelog() { dpkg-parsechangelog -l "$work/changelog" -S "$1"; }
[ "$(changelog Version)" = "$version" ] ||
    fail "the changelog's newest entry is $(changelog Version), the package is $version"
[ "$(changelog Maintainer)" = "$(field Maintainer)" ] ||
    fail "the changelog's newest entry is by '$(changelog Maintainer)'"
grep -q -E "^\.TH TAVLO 6 [^ ]+ \"Tavlo ${version%-*}\"" "$dist/tavlo.6" ||
    fail "the manual page's .TH line does not name Tavlo ${version%-*}"

# The entry and metainfo as installed, and the tree as a whole: the metainfo's launchable must
# name an installed desktop entry, and its icon must be found.
"$dist/validate.sh" desktop "$desktop_file_validate" "$share/applications/$id.desktop"
"$dist/validate.sh" metainfo "$appstreamcli" "$share/metainfo/$id.metainfo.xml"
"$dist/validate.sh" metainfo-tree "$appstreamcli" "$unpacked"
# The screenshot software centres show is docs/screenshot.png on the main branch, at its size,
# and the newest release is the package's version.
metainfo=$share/metainfo/$id.metainfo.xml
shot=$(grep -o '<image type="source"[^>]*>[^<]*' "$metainfo") ||
    fail "the metainfo has no source image for its screenshot"
[[ ${shot##*>} == https://*/main/docs/screenshot.png ]] ||
    fail "the screenshot is '${shot##*>}', not docs/screenshot.png on main"
size=$(file -b "$dist/../docs/screenshot.png" | grep -o -E '[0-9]+ x [0-9]+')
[[ $shot == *" width=\"${size%% x *}\" height=\"${size##* x }\""* ]] ||
    fail "the metainfo's screenshot is '$shot'; docs/screenshot.png is $size"
release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[ "$release" = "${version%-*}" ] || fail "the newest metainfo release is '$release', not $version"

if [ "$arch" != "$(dpkg --print-architecture)" ]; then
    echo "deb package for $arch: lintian clean, the package's own files and fields right"
    exit 0
elif [ -n "$skip_reason" ]; then
    echo "SKIPPED: the install into a bare Debian root and the start of the installed program" \
        "there, as ${skip_reason//$'\n'/ }"
    exit 77
fi

# A bare root of each release, from the Debian archive this machine's apt uses (its mirrors) and
# from no other vendor's, whose packages could hide a missing Depends, with the archive's package
# lists for autopkgtest's apt-get; the packages it installs there are kept between runs, each
# release's apart.
for codename in $codenames; do
    start=$(date +%s)
    make_debian_root "$codename" "$work/$codename.tar" "$cache/package-root-$codename" \
        --skip=cleanup/apt/lists ||
        fail "making the Debian $codename root failed: $(tail -n 30 "$work/$codename.tar.log")"
    mkdir -p "$cache/package-test-$codename"
    "$autopkgtest" --output-dir "$work/$codename" "$deb" "$dist/" -- unshare \
        --tarball "$work/$codename.tar" --bind "$cache/package-test-$codename" \
        /var/cache/apt/archives >"$work/$codename.log" 2>&1 ||
        fail "on Debian $codename: $(tail -n 40 "$work/$codename.log")"
    echo "Debian $codename: $(grep -h '^the installed program' "$work/$codename/start-stdout")" \
        "($(($(date +%s) - start))s; sources: $(debian_sources "$codename" | paste -s -d ';'))"
    rm -f "$work/$codename.tar"
done
echo "deb package: lintian clean, the package's own files and fields right; installed by" \
    "autopkgtest into bare roots of Debian $(paste -s -d , <<<"$codenames"), the program starts" \
    "from its entry and ends with status 0 on Exit on each"
