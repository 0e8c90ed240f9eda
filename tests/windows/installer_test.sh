#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer under Wine: it installs silently, its Start-menu shortcut starts the game
# (tavlo.exe alone, so it needs no DLL beyond Windows' own), which ends on Exit, and its silent
# uninstaller leaves nothing behind.
# Usage: installer_test.sh <setup.exe>
set -euo pipefail
setup=$1
source "$(dirname "$0")/lib.sh"
start_xvfb

users=$WINEPREFIX/drive_c/users
# The user's files but the temporary folder, where the uninstaller leaves the empty folder its
# copy ran from, and the user's part of the registry under Software\Microsoft, where the
# installed programs are listed.
snapshot() {
    find "$users" -path '*/Temp/*' -prune -o -print | sort
    "$wine" reg export 'HKCU\Software\Microsoft' "$work/hkcu.reg" /y >/dev/null
    iconv -f UTF-16 -t UTF-8 "$work/hkcu.reg" | tr -d '\r'
}
snapshot >"$work/before"
"$wine" "$setup" /S || fail "the silent install failed"
shortcut=$(find "$users" -name Tavlo.lnk)
[ -n "$shortcut" ] && [ -n "$(find "$users" -path '*/Programs/Tavlo/tavlo.exe')" ] ||
    fail "the install left no shortcut or no program"
uninstall=$("$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavlo' \
    /v QuietUninstallString | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ -n "$uninstall" ] || fail "no uninstaller among the installed programs"
"$wine" start /unix "$shortcut"
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tavlo - Game created by ' |
    head -n1) || fail "the shortcut started no game"
pid=$(xdotool getwindowpid "$window")
settled_shot "$work/shortcut.png" 5 5 "srgb(0,0,25)"
xdotool mousemove --window "$window" $EXIT click 1
wait_until 30 eval '! kill -0 "$pid" 2>/dev/null' ||
    fail "the game started from the shortcut did not end on Exit"
uninstaller=${uninstall#\"}
"$wine" "${uninstaller%%\"*}" /S || fail "the silent uninstall failed"
# The uninstaller runs on from a copy of itself, and is done when the folder has gone.
wait_until 60 eval '[ -z "$(find "$users" -path "*/Programs/Tavlo")" ]' ||
    fail "the uninstall left the program's folder: $(find "$users" -path "*/Programs/Tavlo/*")"
# Windows removes the uninstaller's copy of itself at the next start, which wineboot stands for.
"$wine" wineboot --restart
snapshot >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "the uninstall left the above behind"
echo "installer: installed silently, the shortcut started the game, the uninstall left nothing"
