#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Each way of ending the program (Exit, the window's close command, Ctrl+Q) ends it with status 0
# and no sanitizer report, in each phase of a game where the other tests do not end it that way:
# real_window_test.sh closes it at the start, and the widget tests press Exit mid-walk. Ctrl+Q is
# the one key a walk does not drop.
# Usage: exit_test.sh <scripted_window> <close_window>
set -euo pipefail
scripted_window=$1
close_window=$2
source "$(dirname "$0")/lib.sh"
start_xvfb

# How many pixels of region $2 of the window differ now from picture $1's.
changes_since() {
    window_shot "$work/now.png"
    differing_pixels "$1[$2]" "$work/now.png[$2]"
}
die=76x72+820+108 # the die's face, inside its focus ring
rolling() { [ "$(changes_since "$work/first.png" $die)" -gt 100 ]; }
at_rest() { [ "$(changes_since "$work/first.png" $die)" = 0 ]; }
flashing() { [ "$(changes_since "$work/won.png" 985x702+0+0)" != 0 ]; }

reach_phase() {
    case $1 in
    mid-roll)
        start_app "$scripted_window" --report
        xdotool mousemove --window "$window" $DIE click 1
        wait_until 10 rolling || fail "the die did not roll" ;;
    mid-walk)
        start_app "$scripted_window" --report --rolls 6
        xdotool mousemove --window "$window" $DIE click 1
        wait_for_output '^step' 2 10 ;;
    won | new-game-after-win)
        start_app "$scripted_window" --report --pause-percent 0 --rolls $WINNING_ROLLS
        play_winning_game "$1" 10
        # The winner's label flashes.
        window_shot "$work/won.png"
        wait_until 10 flashing || fail "the winner's label does not flash"
        if [ "$1" = new-game-after-win ]; then
            xdotool mousemove --window "$window" $NEW_GAME click 1
            wait_until 10 at_rest || fail "the die is not at rest after New Game"
        fi ;;
    esac
}

for case in "mid-roll exit" "mid-roll close" "mid-roll ctrl+q" "mid-walk close" "mid-walk ctrl+q" \
    "won exit" "won close" "new-game-after-win exit" "new-game-after-win close"; do
    read -r phase way <<<"$case"
    reach_phase "$phase"
    case $way in
    exit) xdotool mousemove --window "$window" $EXIT click 1 ;;
    close) "${emulator[@]}" "$close_window" "$window" ;;
    ctrl+q) xdotool windowfocus --sync "$window" key ctrl+q ;;
    esac
    expect_clean_end "$phase, $way"
done
