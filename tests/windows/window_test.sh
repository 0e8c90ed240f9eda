#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build's scripted window under Wine next to the Linux build's, on one private Xvfb
# screen, in scenario $1: a function scenario_<name> below, named in CMakeLists.txt.
# Usage: window_test.sh <scenario> <scripted_window.exe> <Linux scripted_window>
#                       <ui_automation_client.exe>
set -euo pipefail
scenario=$1
scripted_exe=$2
scripted_linux=$3
screen_reader=$4
if [ ! -x "$scripted_linux" ]; then
    echo "SKIPPED: no Linux build's scripted window to compare with ('$scripted_linux')"
    exit 77
fi
source "$(dirname "$0")/lib.sh"

# The board of build $1 (linux, then windows) in window picture $2 at scale $3, with its square
# numbers blacked out: each is text, at most 44x20 pixels at its square's top left. The rest of
# the Windows build's must be the Linux build's, pixel for pixel.
board() {
    local numbers s=$3 differ
    numbers=$(awk -v s="$s" 'BEGIN { for (r = 0; r < 10; ++r) for (c = 0; c < 10; ++c) {
        x = s * (56 + int(c * 1000 / 15 + 0.5)); y = s * (24 + int(r * 1000 / 15 + 0.5))
        printf "rectangle %d,%d %d,%d ", x, y, x + s * 44, y + s * 20 } }')
    convert "$2" -fill black -draw "$numbers" \
        -crop "$((667 * s))x$((667 * s))+$((56 * s))+$((24 * s))" +repage "$work/$1-board.png"
    [ "$1" = windows ] || return 0
    differ=$(differing_pixels "$work/linux-board.png" "$work/windows-board.png")
    [ "$differ" = 0 ] ||
        fail "at scale $s, $differ pixels of the board (numbers aside) differ from Linux's"
}

# The window opens at its size and a whole scripted game (the ladder's extra turn, the win, New
# Game, Exit) plays out as in the Linux build, move for move, ending with status 0, with a board
# identical to the Linux build's, pixel for pixel, at the win. With a screen reader's request for
# the window's UI Automation provider, the game's sentences reach it as notifications.
scenario_game() {
    local said differ
    start_xvfb 2560x1600
    play linux "$scripted_linux"
    # Wine traces each UI Automation notification it is asked to raise, with its text.
    play windows env WINEDEBUG=-all,trace+uiautomation,fixme+uiautomation "$wine" "$scripted_exe"
    said=$(tr -d '\r' <"$work/app.err" |
        sed -n 's/.*:UiaRaiseNotificationEvent ([^,]*, [0-9]*, [0-9]*, L"\(.*\)", L"[^"]*").*/\1/p')
    [ "$said" = "Player 1 rolled 6 and moved to square 6. Player 2's turn.
Player 2 rolled 1 and moved to square 1. Player 1's turn.
Player 1 rolled 6 and moved to square 12. Player 2's turn.
Player 2 rolled 1 and moved to square 2. Player 1's turn.
Player 1 rolled 3: ladder from 15 up to 97. Player 1 rolls again.
Player 1 rolled 3 and reached square 100. Player 1 wins. Press New Game to play again.
New game. Player 1's turn." ] ||
        fail "UI Automation's notifications were not the game's sentences: $said"
    echo "UI Automation: a notification with the game's sentence after each move, the win and" \
        "New Game"
    # The text is drawn by another engine, but in the same font: about 18,000 pixels differ. In a
    # font that is not Arial's, whose words are wider and cut short, over 30,000 do.
    differ=$(differing_pixels "$work/linux.png" "$work/windows.png")
    [ "$differ" -lt 25000 ] ||
        fail "$differ pixels differ from the Linux build's: the text is not in Arial"
    echo "whole game: as on Linux, to a win with status 0; the board (numbers aside, 667x667)" \
        "identical; $differ of 985x702 pixels differ in the whole window, where the text is drawn" \
        "by Windows' text engine"
}
# The scripted game to player 1's win (lib.sh), in build $1 (linux or windows), started by
# command $2...
play() {
    local build=$1
    shift
    start_app "$@" --report --pause-percent 0 --rolls $WINNING_ROLLS
    expect_size 985x702 "$build"
    [ "$build" = linux ] || "$wine" "$screen_reader" "$(xdotool getwindowname "$window")" ||
        fail "no UI Automation provider for the window"
    play_winning_game "$build" 20
    window_shot "$work/$build.png"
    board "$build" "$work/$build.png" 1
    xdotool mousemove --window "$window" $NEW_GAME click 1
    xdotool mousemove --window "$window" $EXIT click 1
    expect_clean_end "$build: Exit after New Game"
}

# At 200 %, as Windows scales for a dense screen (Wine's 192 dots per inch), the window is twice
# its size, with its board drawn from the sharp pictures as the Linux build draws it at scale 2.
scenario_scale2() {
    start_xvfb 2560x1600
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null
    QT_SCALE_FACTOR=2 scaled linux "$scripted_linux"
    scaled windows "$wine" "$scripted_exe"
    echo "200 %: the window 1970x1404, its board (numbers aside) that of the Linux build at scale 2"
}
# The board of build $1 (linux or windows) at 200 %, started by command $2..., then Exit.
scaled() {
    local build=$1
    shift
    start_app "$@"
    expect_size 1970x1404 "$build at 200 %"
    board "$build" "$work/first.png" 2
    xdotool mousemove --window "$window" 1720 1352 click 1
    expect_clean_end "$build at 200 %: Exit" 20
}

# On a screen shorter than the window, 1366x600: the window lies wholly on it, shorter than its
# page, and the wheel scrolls the page to its end, where a click reaches Exit.
scenario_short() {
    start_xvfb 1366x600
    start_app "$wine" "$scripted_exe" --pause-percent 0
    eval "$(xdotool getwindowgeometry --shell "$window")"
    ((X >= 0 && Y >= 0 && X + WIDTH <= 1366 && Y + HEIGHT <= 600 && HEIGHT < 702)) ||
        fail "the window ${WIDTH}x${HEIGHT}+$X+$Y is not cut to the 1366x600 screen"
    xdotool mousemove --window "$window" 400 300 click --repeat 10 5
    # Scrolled to the end, the page's bottom is the window's: Exit's middle is 26 pixels above it.
    xdotool mousemove --window "$window" 860 $((HEIGHT - 26)) click 1
    expect_clean_end "Exit at the page's end" 20
    echo "short screen: the window ${WIDTH}x${HEIGHT} on the 1366x600 screen; the wheel and a" \
        "click reached Exit"
}

declare -F "scenario_$scenario" >/dev/null || fail "no scenario '$scenario'"
"scenario_$scenario"
