#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the build tree into a .deb and unpacks it into a scratch folder without installing it, so
# the machine's package database stays untouched. Checks the control fields, the files and their
# owners, the desktop entry and metainfo as installed, and then starts the unpacked program the
# way a desktop does, from the Exec line of its entry, on a private Xvfb screen.
# Usage: package_test.sh <cpack> <CPackConfig.cmake> <desktop id> <desktop-file-validate>
#                        <appstreamcli> <tests/xvfb/lib.sh>
set -euo pipefail
cpack=$1
config=$2
id=$3
desktop_file_validate=$4
appstreamcli=$5
dist=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../tests/xvfb/lib.sh
source "$6"

# A fresh output folder, so no package left over from an earlier run can pass for this one.
"$cpack" --config "$config" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work"/cpack/*.deb)
if [ ${#debs[@]} != 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "cpack made no single .deb: $(ls "$work/cpack")"
fi
deb=${debs[0]}
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
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
depends=$(field Depends)
# One package name a line; alternatives count too, version constraints do not matter here.
depend_names=$(tr ',|' '\n' <<<"$depends" | sed 's/(.*)//; s/[[:space:]]//g')
for pkg in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation; do
    grep -qx "$pkg" <<<"$depend_names" || fail "Depends lacks $pkg: $depends"
done
echo "Depends: $depends"

# Files, owners and modes as dpkg would lay them down.
listing=$(dpkg-deb -c "$deb")
wrong_owner=$(awk '$2 != "root/root"' <<<"$listing")
[ -z "$wrong_owner" ] || fail "files not owned by root: $wrong_owner"
root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
expect_file() {
    local path=$1 mode=$2 description=$3
    [ -f "$root/$path" ] || fail "the package lacks /$path"
    [ "$(stat -c %a "$root/$path")" = "$mode" ] ||
        fail "/$path has mode $(stat -c %a "$root/$path"), not $mode"
    [[ "$(file -b "$root/$path")" == *$description* ]] ||
        fail "/$path is '$(file -b "$root/$path")', not $description"
}
expect_file usr/bin/tavlo 755 "ELF"
expect_file "usr/share/applications/$id.desktop" 644 "text"
expect_file "usr/share/icons/hicolor/32x32/apps/$id.png" 644 "PNG image data, 32 x 32"
expect_file "usr/share/icons/hicolor/scalable/apps/$id.svg" 644 "SVG"
expect_file "usr/share/metainfo/$id.metainfo.xml" 644 "XML"
expect_file usr/share/doc/tavlo/copyright 644 "text"
cmp -s "$share/icons/hicolor/32x32/apps/$id.png" "$dist/../assets/images/icon32.png" ||
    fail "the 32x32 icon is not assets/images/icon32.png"
cmp -s "$share/icons/hicolor/scalable/apps/$id.svg" "$dist/../assets/src/icon.svg" ||
    fail "the scalable icon is not assets/src/icon.svg"
# dpkg installs below / as is: anything outside /usr (or in /usr/local, which belongs to the
# administrator) would land in the wrong place.
stray=$(cd "$root" && find . -type f ! -path './usr/*' -o -type f -path './usr/local/*')
[ -z "$stray" ] || fail "files outside /usr or inside /usr/local: $stray"

# The entry and metainfo as installed, and the tree as a whole: the metainfo's launchable must
# name an installed desktop entry, and its icon must be found.
"$dist/validate.sh" desktop "$desktop_file_validate" "$share/applications/$id.desktop"
"$dist/validate.sh" metainfo "$appstreamcli" "$share/metainfo/$id.metainfo.xml"
"$appstreamcli" validate-tree --no-net --strict "$root" || fail "appstreamcli validate-tree failed"

# The entry's icon, looked up by name in the hicolor theme: a bitmap and the scalable one.
icon=$(sed -n 's/^Icon=//p' "$share/applications/$id.desktop")
for file in "32x32/apps/$icon.png" "scalable/apps/$icon.svg"; do
    [ -f "$share/icons/hicolor/$file" ] || fail "the entry's icon '$icon' has no $file in hicolor"
done

# Software centres show the newest release of the metainfo next to the package's version.
release=$(grep -o -m1 '<release version="[^"]*"' "$share/metainfo/$id.metainfo.xml" | cut -d'"' -f2)
version=$(field Version)
[ "$release" = "${version%-*}" ] ||
    fail "the newest metainfo release is '$release', the package is $version"

# Start the program as a desktop would: the command of the Exec line, looked up on a PATH that
# has the unpacked /usr/bin first.
entry=$share/applications/$id.desktop
exec_line=$(sed -n 's/^Exec=//p' "$entry")
if [ -z "$exec_line" ] || [ "$(wc -l <<<"$exec_line")" != 1 ]; then
    fail "no single Exec line in the entry"
fi
# Field codes such as %U stand for files the desktop would pass; the game takes none.
read -r -a command <<<"${exec_line//%[fFuUdDnNickvm]/}"
case ${command[0]} in
/*) command[0]=$root${command[0]} ;;
esac
export PATH="$root/usr/bin:$PATH"
export XDG_DATA_DIRS="$share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
program=$(command -v "${command[0]}") || fail "Exec names '${command[0]}', which the package lacks"
[ "$program" = "$root/usr/bin/tavlo" ] || fail "Exec starts $program, not the packaged program"

start_xvfb
start_app "${command[@]}"
[ "$(readlink "/proc/$app_pid/exe")" = "$root/usr/bin/tavlo" ] ||
    fail "the window belongs to $(readlink "/proc/$app_pid/exe"), not the packaged program"
# On X11 a desktop ties the window to its entry through the window's class, ignoring case as
# xdotool does.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || fail "the entry has no StartupWMClass"
xdotool search --class "^$wm_class\$" | grep -qx "$window" ||
    fail "the window's class is not '$wm_class'"

xdotool mousemove --window "$window" 860 676 click 1
wait_app 10
[ "$app_status" = 0 ] || fail "exit status $app_status after Exit: $(cat "$work/app.err")"
check_clean_run
echo "deb package: control fields, files, entry and metainfo valid; the unpacked program starts" \
    "from its entry and ends with status 0 on Exit"
