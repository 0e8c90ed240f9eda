#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine, as the emulator of the Windows build's tests
# (tests/CMakeLists.txt), in a private Wine folder of the build's: a 64-bit prefix and a home of
# its own, so that nothing reaches the user's home (no desktop entries from Start-menu shortcuts)
# or Wine prefix, nor does Wine offer its stand-ins for .NET and Internet Explorer. The prefix is
# made where it is missing, or was made by another Wine or another version of this script, with
# Liberation Sans under Arial's name (liberation_as_arial.py) for a Windows desktop's Arial.
# Usage: wine.sh <wine> <Wine folder> [<Windows program> [<argument>...] | --end]
# Without a program (the test wine_prefix), it makes the prefix and starts its Wine server, to run
# until --end (the test wine_server_end): a server that ends between two tests' programs can drop
# the next one's connection as it goes. Sourced with <wine> <Wine folder>, it sets that
# environment alone, with $wine and $wineserver.
wine=$1
wineserver=$(dirname "$wine")/wineserver
folder=$(realpath -m "$2")
export WINEPREFIX=$folder/prefix HOME=$folder/home WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
(return 0 2>/dev/null) && return 0
set -euo pipefail
shift 2
[ "${1:-}" != --end ] || { "$wineserver" -k 2>/dev/null || true; exit 0; }

# What the prefix is made by: this Wine and these scripts.
here=$(dirname "$0")
maker="$("$wine" --version) $(cat "$0" "$here/liberation_as_arial.py" | sha256sum)"
if [ "$(cat "$folder/maker" 2>/dev/null)" != "$maker" ]; then
    mkdir -p "$(dirname "$folder")"
    (
        flock 9
        [ "$(cat "$folder/maker" 2>/dev/null)" != "$maker" ] || exit 0
        start=$SECONDS
        [ ! -d "$WINEPREFIX" ] || "$wineserver" -k 2>/dev/null || true
        rm -rf "$folder"
        mkdir -p "$HOME"
        "$wine" wineboot --init >"$folder/wineboot.log" 2>&1 ||
            { echo "wineboot: $(cat "$folder/wineboot.log")" >&2; exit 1; }
        for style in Regular Bold; do
            python3 "$here/liberation_as_arial.py" \
                "/usr/share/fonts/truetype/liberation/LiberationSans-$style.ttf" \
                "$WINEPREFIX/drive_c/windows/Fonts/arial-$style.ttf"
            "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
                /v "Arial $style (TrueType)" /t REG_SZ /d "arial-$style.ttf" /f >/dev/null
        done
        # The registry is on disk once the prefix's Wine server has ended.
        "$wineserver" -w
        echo "$maker" >"$folder/maker"
        echo "Wine prefix made in $folder ($((SECONDS - start))s)" >&2
    ) 9>"$folder.lock"
fi
if [ $# = 0 ]; then
    # Started apart from the test's output, which they would otherwise hold open.
    "$wineserver" -p </dev/null >/dev/null 2>&1 || true
    "$wine" cmd /c exit </dev/null >/dev/null 2>&1
    exit
fi
# A Windows program ends its lines with a carriage return too, which GoogleTest's discovery of the
# tests does not expect: taken off.
"$wine" "$@" | sed -u 's/\r$//'
