#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package: packs the build tree into a .deb (or takes a .deb already made), runs
# lintian on it, and unpacks it into a scratch folder to check the control fields, the files and
# their owners, the changelog, the manual page, the desktop entry and the metainfo as installed.
# Then, for this machine's Debian release and every later one supported (a package built for
# Debian 12 installs on Debian 13 too), it installs the package with apt-get into a throwaway root
# made from nothing but Debian's own packages, and starts the installed program there the way a
# desktop does, from the Exec line of its installed entry, on a private Xvfb screen: the window
# must show and the program must end with status 0 on Exit, using only the libraries of that
# root. That proves the Depends complete on each release.
# Making a root and running the program in it needs root (chroot, mounts): run as another user,
# the script runs itself again through sudo, which must not need a password. It also needs a
# mount namespace in which mounts can be made, and the Debian archive this machine's apt sources
# name. Where one of these is missing, the checks of the package itself still run (and fail as
# ever), and then the script names what is missing in a line "SKIPPED: ..." and exits with
# status 77.
# Usage: package_test.sh <CPackConfig.cmake or package .deb> <cpack> <desktop id>
#                        <desktop-file-validate> <appstreamcli> <lintian> <mmdebstrap>
#                        <tests/xvfb/lib.sh> <download cache folder>
set -euo pipefail
skip_reason=
if [ "$(id -u)" != 0 ]; then
    if sudo -n true 2>/dev/null; then
        exec sudo -n -- "$0" "$@"
    fi
    skip_reason="it needs root, or sudo without a password"
fi
input=$1
cpack=$2
id=$3
desktop_file_validate=$4
appstreamcli=$5
lintian=$6
export MMDEBSTRAP=$7
cache=$9
dist=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../tests/xvfb/lib.sh
source "$8"
# shellcheck source=../scripts/lib/debian.sh
source "$dist/../scripts/lib/debian.sh"

# lib.sh's cleanup ends the program and the X server and removes the work folder; a root still
# being made is stopped before it. The mounts never need undoing: everything that mounts runs in
# a mount namespace of its own, so they go with its last process, and the host never sees them.
# Errexit is off while cleaning up, so that a step that fails (such as killing a program that has
# already ended) does not skip the rest, and cleanup still gets the status to exit with.
finish() {
    local status=$?
    set +e
    stop_debian_root
    (exit "$status")
    cleanup
}
trap finish EXIT

# The releases the package is installed on, and whether a root of each can be made here.
codenames=$(debian_codenames_from_host)
if [ -z "$skip_reason" ] && [ -z "$codenames" ]; then
    skip_reason="this machine runs $(host_codename), not a release supported (${DEBIAN_RELEASES[*]})"
fi
for codename in $codenames; do
    if [ -z "$skip_reason" ]; then
        skip_reason=$(debian_root_unavailable "$codename" "$work")
    fi
done
if [[ $input == *.deb ]]; then
    deb=$input
else
    # A fresh output folder, so no package left over from an earlier run can pass for this one.
    "$cpack" --config "$input" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed: $(cat "$work/cpack.log")"
    debs=("$work"/cpack/*.deb)
    if [ ${#debs[@]} != 1 ] || [ ! -f "${debs[0]}" ]; then
        fail "cpack made no single .deb: $(ls "$work/cpack")"
    fi
    deb=${debs[0]}
fi
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
[ "$(field Package)" = tavlo ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "Architecture is '$(field Architecture)'"
[ "$(field Homepage)" = https://github.com/tavlo/tavlo ] || fail "Homepage is '$(field Homepage)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^\>@]+@[^\>]+\>$ ]] ||
    fail "Maintainer is not 'name <email>': '$(field Maintainer)'"
# A synopsis line and an extended description below it, in lines that fit a terminal.
[ "$(field Description | wc -l)" -ge 2 ] || fail "no extended description: $(field Description)"
long_lines=$(field Description | awk 'length > 80')
[ -z "$long_lines" ] || fail "description lines longer than 80 characters: $long_lines"
# A relation field's package names, one a line; alternatives count too, version constraints do
# not matter here.
names() { tr ',|' '\n' <<<"$1" | sed 's/(.*)//; s/[[:space:]]//g'; }
depends=$(field Depends)
# The packages that hold the libraries the program is linked with, as this machine names them
# (Debian 13 renamed many, libqt6core6t64 say), must each be in Depends, and the font the window
# is measured for.
program_file=$work/program
dpkg-deb --fsys-tarfile "$deb" | tar -x -O ./usr/games/tavlo >"$program_file"
libraries=$(objdump -p "$program_file" | awk '$1 == "NEEDED" { print $2 }')
[ -n "$libraries" ] || fail "the program is linked with no library"
for library in $libraries; do
    owner=$(dpkg -S "*/$library" 2>/dev/null | cut -d: -f1 | sort -u) ||
        fail "no installed package holds $library"
    grep -qx -F "$owner" <<<"$(names "$depends")" ||
        fail "Depends lacks $owner, which holds $library: $depends"
done
grep -qx fonts-liberation <<<"$(names "$depends")" || fail "Depends lacks fonts-liberation: $depends"
echo "Depends: $depends"
# Qt's Wayland plugin is recommended, not required: the throwaway root below, installed without
# Recommends, runs the game without it.
recommends=$(field Recommends)
grep -qx qt6-wayland <<<"$(names "$recommends")" ||
    fail "Recommends lacks qt6-wayland: '$recommends'"
if grep -qx qt6-wayland <<<"$(names "$depends")"; then
    fail "Depends has qt6-wayland, which only Recommends should: $depends"
fi
echo "Recommends: $recommends"

# Debian's package checker, on the package as it is: any error or warning fails (information
# tags are shown, not counted).
lintian_status=0
# (Its scratch files go to the work folder: lintian leaves some behind.)
lintian_out=$(TMPDIR=$work "$lintian" --display-info --fail-on error,warning "$deb" \
    2>"$work/lintian.err") ||
    lintian_status=$?
echo "lintian: ${lintian_out:-no tags}"
if [ "$lintian_status" != 0 ] || grep -q -E '^[EW]: ' <<<"$lintian_out"; then
    fail "lintian reports errors or warnings (status $lintian_status): $(cat "$work/lintian.err")"
fi

# Files, owners and modes as dpkg would lay them down.
listing=$(dpkg-deb -c "$deb")
wrong_owner=$(awk '$2 != "root/root"' <<<"$listing")
[ -z "$wrong_owner" ] || fail "files not owned by root: $wrong_owner"
unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
share=$unpacked/usr/share
expect_file() {
    local path=$1 mode=$2 description=$3
    [ -f "$unpacked/$path" ] || fail "the package lacks /$path"
    [ "$(stat -c %a "$unpacked/$path")" = "$mode" ] ||
        fail "/$path has mode $(stat -c %a "$unpacked/$path"), not $mode"
    [[ "$(file -b "$unpacked/$path")" == *$description* ]] ||
        fail "/$path is '$(file -b "$unpacked/$path")', not $description"
}
# Debian keeps games in /usr/games; /usr/bin is for the other programs.
expect_file usr/games/tavlo 755 "ELF"
[ ! -e "$unpacked/usr/bin" ] || fail "the package has /usr/bin: $(ls "$unpacked/usr/bin")"
expect_file "usr/share/applications/$id.desktop" 644 "text"
expect_file "usr/share/icons/hicolor/32x32/apps/$id.png" 644 "PNG image data, 32 x 32"
expect_file "usr/share/icons/hicolor/scalable/apps/$id.svg" 644 "SVG"
expect_file "usr/share/metainfo/$id.metainfo.xml" 644 "XML"
expect_file usr/share/doc/tavlo/copyright 644 "text"
cmp -s "$share/icons/hicolor/32x32/apps/$id.png" "$dist/../assets/images/icon32.png" ||
    fail "the 32x32 icon is not assets/images/icon32.png"
cmp -s "$share/icons/hicolor/scalable/apps/$id.svg" "$dist/../assets/src/icon.svg" ||
    fail "the scalable icon is not assets/src/icon.svg"
# The changelog and the manual page, compressed as Debian keeps them: at the highest level, and
# with no file name or time inside, so that the same text always packs to the same bytes.
for doc in "usr/share/doc/tavlo/changelog.Debian.gz changelog" \
    "usr/share/man/man6/tavlo.6.gz tavlo.6"; do
    read -r path origin <<<"$doc"
    expect_file "$path" 644 "gzip compressed data, max compression, from Unix"
    [[ "$(file -b "$unpacked/$path")" != *"was \""* ]] || fail "/$path keeps a file name"
    [[ "$(file -b "$unpacked/$path")" != *"last modified"* ]] || fail "/$path keeps a time"
    zcat "$unpacked/$path" | cmp -s - "$dist/$origin" || fail "/$path is not dist/$origin"
done
# dpkg installs below / as is: anything outside /usr (or in /usr/local, which belongs to the
# administrator) would land in the wrong place.
stray=$(cd "$unpacked" && find . -type f ! -path './usr/*' -o -type f -path './usr/local/*')
[ -z "$stray" ] || fail "files outside /usr or inside /usr/local: $stray"

# The changelog's newest entry is this version, by the package's maintainer.
changelog=$work/changelog
zcat "$share/doc/tavlo/changelog.Debian.gz" >"$changelog"
[ "$(dpkg-parsechangelog -l "$changelog" -S Version)" = "$version" ] ||
    fail "the changelog's newest entry is $(dpkg-parsechangelog -l "$changelog" -S Version)," \
        "the package is $version"
[ "$(dpkg-parsechangelog -l "$changelog" -S Maintainer)" = "$(field Maintainer)" ] ||
    fail "the changelog's newest entry is by '$(dpkg-parsechangelog -l "$changelog" -S Maintainer)'"

# The manual page formats without a single complaint from groff or man, and names this version.
man_warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$share/man/man6/tavlo.6.gz" 2>&1 >/dev/null) ||
    fail "man could not format the manual page: $man_warnings"
[ -z "$man_warnings" ] || fail "the manual page draws warnings: $man_warnings"
grep -q -E "^\.TH TAVLO 6 [^ ]+ \"Tavlo ${version%-*}\"" "$dist/tavlo.6" ||
    fail "the manual page's .TH line does not name Tavlo ${version%-*}:" \
        "$(grep '^\.TH' "$dist/tavlo.6")"

# The entry and metainfo as installed, and the tree as a whole: the metainfo's launchable must
# name an installed desktop entry, and its icon must be found.
"$dist/validate.sh" desktop "$desktop_file_validate" "$share/applications/$id.desktop"
"$dist/validate.sh" metainfo "$appstreamcli" "$share/metainfo/$id.metainfo.xml"
"$dist/validate.sh" metainfo-tree "$appstreamcli" "$unpacked"

# The entry's icon, looked up by name in the hicolor theme: a bitmap and the scalable one.
icon=$(sed -n 's/^Icon=//p' "$share/applications/$id.desktop")
for file in "32x32/apps/$icon.png" "scalable/apps/$icon.svg"; do
    [ -f "$share/icons/hicolor/$file" ] || fail "the entry's icon '$icon' has no $file in hicolor"
done

# The screenshot software centres show is docs/screenshot.png on the main branch, and the size
# the metainfo gives is that picture's.
shot=$(grep -o '<image type="source"[^>]*>[^<]*' "$share/metainfo/$id.metainfo.xml") ||
    fail "the metainfo has no source image for its screenshot"
[[ ${shot##*>} == https://*/main/docs/screenshot.png ]] ||
    fail "the screenshot is '${shot##*>}', not docs/screenshot.png on main"
size=$(file -b "$dist/../docs/screenshot.png" | grep -o -E '[0-9]+ x [0-9]+')
[[ $shot == *" width=\"${size%% x *}\" height=\"${size##* x }\""* ]] ||
    fail "the metainfo's screenshot is '$shot'; docs/screenshot.png is $size"

# Software centres show the newest release of the metainfo next to the package's version.
release=$(grep -o -m1 '<release version="[^"]*"' "$share/metainfo/$id.metainfo.xml" | cut -d'"' -f2)
[ "$release" = "${version%-*}" ] ||
    fail "the newest metainfo release is '$release', the package is $version"

if [ -n "$skip_reason" ]; then
    echo "SKIPPED: the install into a throwaway Debian root and the start of the installed" \
        "program there, as ${skip_reason//$'\n'/ }"
    exit 77
fi

# A throwaway root for each release: Debian's essential packages and apt, from the Debian archive
# this machine's apt uses (its mirrors) and from no other vendor's, whose packages could hide a
# missing Depends. apt-get installs the package there as a user would, but without Recommends,
# which must not be needed. Then the installed program is started there as a desktop would: the
# command of the Exec line of the installed entry, on a desktop session's PATH, which need not
# have /usr/games.
deb_name=$(basename "$deb")
session_path=/usr/local/bin:/usr/bin:/bin
start_xvfb
for codename in $codenames; do
    root=$work/root-$codename
    start=$(date +%s)
    # Downloads are kept between runs, each release's apart.
    make_debian_root "$codename" "$root" "$cache/package-root-$codename" \
        --customize-hook="copy-in '$deb' /tmp" \
        --customize-hook="chroot \"\$1\" sh -c 'cd /tmp && DEBIAN_FRONTEND=noninteractive \
            apt-get install -y --no-install-recommends ./$deb_name'" ||
        fail "making the Debian $codename root failed: $(tail -n 30 "$root.log")"
    echo "throwaway root: Debian $codename with tavlo installed in $(($(date +%s) - start))s" \
        "(sources: $(debian_sources "$codename" | paste -s -d ';'))"
    [ "$(chroot "$root" dpkg-query -W -f='${db:Status-Status}' tavlo)" = installed ] ||
        fail "apt-get left tavlo not installed on Debian $codename: $(tail -n 30 "$root.log")"

    entry=$root/usr/share/applications/$id.desktop
    exec_line=$(sed -n 's/^Exec=//p' "$entry")
    if [ -z "$exec_line" ] || [ "$(wc -l <<<"$exec_line")" != 1 ]; then
        fail "no single Exec line in the installed entry"
    fi
    # Field codes such as %U stand for files the desktop would pass; the game takes none.
    read -r -a command <<<"${exec_line//%[fFuUdDnNickvm]/}"
    program=$(chroot "$root" env PATH="$session_path" sh -c 'command -v "$1"' sh "${command[0]}") ||
        fail "Exec names '${command[0]}', which is not found on the PATH $session_path"
    [ "$program" = /usr/games/tavlo ] || fail "Exec starts $program, not /usr/games/tavlo"

    # The program runs as an ordinary user inside the root, with a home and a runtime folder of
    # its own, and reaches the X server on the host through its socket folder, mounted into the
    # root.
    mkdir -p "$root/tmp/.X11-unix" "$root/tmp/home" "$root/tmp/runtime"
    chown 65534:65534 "$root/tmp/home" "$root/tmp/runtime"
    chmod 700 "$root/tmp/runtime"
    start_app unshare --mount -- sh -c '
        root=$1 display=$2
        shift 2
        mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
        mount -t proc proc "$root/proc"
        exec chroot --userspec=65534:65534 "$root" env -i DISPLAY="$display" HOME=/tmp/home \
            XDG_RUNTIME_DIR=/tmp/runtime PATH='"$session_path"' LANG=C.UTF-8 "$@"' \
        sh "$root" "$DISPLAY" "${command[@]}"
    [ "$(readlink "/proc/$app_pid/exe")" = "$root/usr/games/tavlo" ] ||
        fail "the window belongs to $(readlink "/proc/$app_pid/exe"), not the installed program"
    # Every library it loaded is the root's own.
    libraries=$(awk '$6 ~ /\.so/ { print $6 }' "/proc/$app_pid/maps" | sort -u)
    [ -n "$libraries" ] || fail "no libraries in the program's memory map"
    foreign=$(grep -v "^$root/" <<<"$libraries" || true)
    [ -z "$foreign" ] || fail "libraries from outside the root: $foreign"
    echo "the installed program runs on Debian $codename with $(wc -l <<<"$libraries")" \
        "libraries, all from the root"
    # On X11 a desktop ties the window to its entry through the window's class, ignoring case
    # as xdotool does.
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
    [ -n "$wm_class" ] || fail "the entry has no StartupWMClass"
    xdotool search --class "^$wm_class\$" | grep -qx "$window" ||
        fail "the window's class is not '$wm_class'"

    xdotool mousemove --window "$window" $EXIT click 1
    wait_app 10
    [ "$app_status" = 0 ] || fail "exit status $app_status after Exit: $(cat "$work/app.err")"
    check_clean_run
    # The next root's folder is mounted nowhere: this one can go, and its space with it.
    rm -rf "$root"
done
echo "deb package: lintian clean; control fields, files, changelog, manual page, entry and" \
    "metainfo valid; installed by apt-get into bare roots of Debian $(paste -s -d , <<<"$codenames")," \
    "the program starts from its entry and ends with status 0 on Exit on each"
