#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build under Wine, in a private Wine prefix on a private Xvfb screen, with Liberation
# Sans under Arial's name standing in for a Windows desktop's Arial: tavlo.exe imports only Windows' own
# DLLs; the rules' unit tests pass; the program's window opens at its size and a whole scripted game
# (the ladder's extra turn, the win, New Game, Exit) plays out as in the Linux build, ending with
# status 0, with a board identical to the Linux build's, pixel for pixel, at the win; the installer
# installs silently, its Start-menu shortcut starts the game, and its uninstaller leaves nothing
# behind; at 200 % the window is twice its size, with the board of the Linux build at scale 2.
# With a screen reader's request for the window's UI Automation provider, the game's sentences
# reach UI Automation as notifications, one after each move, at the win and on New Game.
# Usage: wine_test.sh <tavlo.exe> <game_tests.exe> <scripted_window.exe> <Linux scripted_window>
#                     <setup.exe> <ui_automation_client.exe>
set -euo pipefail
program=$1
rules=$2
scripted_exe=$3
scripted_linux=$4
setup=$5
screen_reader=$6
source "$(dirname "$0")/../xvfb/lib.sh"
# Room for the window at 200 %.
start_xvfb 2560x1600

wine=/usr/lib/wine/wine64
# Nothing reaches the user's own home: no desktop entries from the Start menu's shortcuts.
export HOME=$work/home WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir "$HOME"
# The private prefix's Wine server, and every Windows program still running in it, end with the
# test.
trap 'status=$?; set +e; /usr/lib/wine/wineserver -k 2>/dev/null; (exit $status); cleanup' EXIT
"$wine" wineboot --init >"$work/wineboot.log" 2>&1 || fail "wineboot: $(cat "$work/wineboot.log")"
for style in Regular Bold; do
    python3 "$(dirname "$0")/liberation_as_arial.py" \
        "/usr/share/fonts/truetype/liberation/LiberationSans-$style.ttf" \
        "$WINEPREFIX/drive_c/windows/Fonts/arial-$style.ttf"
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v "Arial $style (TrueType)" /t REG_SZ /d "arial-$style.ttf" /f >/dev/null
done

# tavlo.exe needs no DLL beyond Windows' own: Wine keeps each of those in Windows' system folder,
# and resolves Windows' API sets (api-ms-win-*) itself, as Windows does.
imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\tDLL Name: //p' | tr '\n' ' ')
for dll in $imports; do
    [[ ${dll,,} == api-ms-win-* ]] || [ -f "$WINEPREFIX/drive_c/windows/system32/${dll,,}" ] ||
        fail "tavlo.exe needs $dll"
done
echo "tavlo.exe imports: $imports"

"$wine" "$rules" --gtest_brief=1 >"$work/rules.out" 2>&1 ||
    fail "the rules' unit tests failed under Wine: $(cat "$work/rules.out")"
echo "rules: $(grep -E '^\[  PASSED  \]' "$work/rules.out")"

# Two players: 6, 1, 6, 1, then 3 onto the ladder from 15 to 97, its extra turn, 3 to 100.
# Usage: game <linux|windows> <command...>
game() {
    local build=$1
    shift
    start_app "$@" --report --pause-percent 0 --rolls 6,1,6,1,3,3
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" = 985 ] && [ "$HEIGHT" = 702 ] ||
        fail "$build: the window is ${WIDTH}x${HEIGHT}, not 985x702"
    [ "$build" = linux ] || "$wine" "$screen_reader" "$(xdotool getwindowname "$window")" ||
        fail "no UI Automation provider for the window"
    for i in 1 2 3 4 5 6; do
        xdotool mousemove --window "$window" $DIE click 1
        wait_for_output '^moved' "$i" 20
    done
    # Windows ends its lines with a carriage return too.
    grep '^moved' "$work/app.out" | tr -d '\r' >"$work/$build.moves"
    window_shot "$work/$build.png"
    xdotool mousemove --window "$window" $NEW_GAME click 1
    xdotool mousemove --window "$window" $EXIT click 1
    wait_app 10
    [ "$app_status" = 0 ] || fail "$build: status $app_status: $(cat "$work/app.err")"
}
game linux "$scripted_linux"
# Wine traces each UI Automation notification it is asked to raise, with its text.
game windows env WINEDEBUG=-all,trace+uiautomation,fixme+uiautomation "$wine" "$scripted_exe"
said=$(tr -d '\r' <"$work/app.err" |
    sed -n 's/.*:UiaRaiseNotificationEvent ([^,]*, [0-9]*, [0-9]*, L"\(.*\)", L"[^"]*").*/\1/p')
[ "$said" = "Player 1 rolled 6 and moved to square 6. Player 2's turn.
Player 2 rolled 1 and moved to square 1. Player 1's turn.
Player 1 rolled 6 and moved to square 12. Player 2's turn.
Player 2 rolled 1 and moved to square 2. Player 1's turn.
Player 1 rolled 3: ladder from 15 up to 97. Player 1 rolls again.
Player 1 rolled 3 and reached square 100. Player 1 wins. Press New Game to play again.
New game. Player 1's turn." ] || fail "UI Automation's notifications were not the game's sentences: $said"
echo "UI Automation: a notification with the game's sentence after each move, the win and New Game"
expected="moved | Player 2's  Turn | Player 1  Wins"
[ "$(tail -n1 "$work/windows.moves")" = "$expected" ] ||
    fail "the game under Wine did not end in player 1's win: $(cat "$work/windows.moves")"
cmp -s "$work/linux.moves" "$work/windows.moves" ||
    fail "the moves differ: $(diff "$work/linux.moves" "$work/windows.moves")"
# The board of window picture $1 at scale $2, into file $3, with its square numbers blacked out:
# each is text, at most 44x20 pixels at its square's top left. The rest must be the Linux
# build's, pixel for pixel.
board() {
    local numbers s=$2
    numbers=$(awk -v s="$2" 'BEGIN { for (r = 0; r < 10; ++r) for (c = 0; c < 10; ++c) {
        x = s * (56 + int(c * 1000 / 15 + 0.5)); y = s * (24 + int(r * 1000 / 15 + 0.5))
        printf "rectangle %d,%d %d,%d ", x, y, x + s * 44, y + s * 20 } }')
    convert "$1" -fill black -draw "$numbers" \
        -crop "$((667 * s))x$((667 * s))+$((56 * s))+$((24 * s))" +repage "$3"
}
board "$work/linux.png" 1 "$work/linux-board.png"
board "$work/windows.png" 1 "$work/windows-board.png"
board=$(differing_pixels "$work/linux-board.png" "$work/windows-board.png")
[ "$board" = 0 ] || fail "$board pixels of the board (numbers aside) differ from the Linux build's"
# The text is drawn by another engine, but in the same font: about 18,000 pixels differ. In a
# font that is not Arial's, whose words are wider and cut short, over 30,000 do.
text=$(differing_pixels "$work/linux.png" "$work/windows.png")
[ "$text" -lt 25000 ] || fail "$text pixels differ from the Linux build's: the text is not in Arial"
echo "whole game: as on Linux, to a win with status 0; the board (numbers aside, 667x667)" \
    "identical; $text of 985x702 pixels differ in the whole window, where the text is drawn by" \
    "Windows' text engine"

# The installer, the shortcut, the uninstaller.
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

# At 200 %, as Windows scales for a dense screen (Wine's 192 dots per inch): the window is twice
# its size, with its board drawn from the sharp pictures as the Linux build draws it at scale 2.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null
scaled() {
    local build=$1
    shift
    start_app "$@"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" = 1970 ] && [ "$HEIGHT" = 1404 ] ||
        fail "$build at 200 %: the window is ${WIDTH}x${HEIGHT}, not 1970x1404"
    board "$work/first.png" 2 "$work/$build-board2.png"
    xdotool mousemove --window "$window" 1720 1352 click 1
    wait_app 20
}
QT_SCALE_FACTOR=2 scaled linux "$scripted_linux"
scaled windows "$wine" "$scripted_exe"
board=$(differing_pixels "$work/linux-board2.png" "$work/windows-board2.png")
[ "$board" = 0 ] || fail "at 200 %, $board pixels of the board differ from the Linux build's"
echo "200 %: the window 1970x1404, its board (numbers aside) that of the Linux build at scale 2"
