#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Exit and the window's close command end the program with status 0 and no sanitizer report, in
# the given phase of a game.
# Usage: exit_test.sh <scripted_window> <close_window> setup|mid-roll|mid-walk|won|new-game-after-win
set -euo pipefail
scripted_window=$1
close_window=$2
phase=$3
source "$(dirname "$0")/lib.sh"
start_xvfb

# Player 1 wins in six rolls: 6, (2: 1), 6, (2: 1), 3 onto the ladder at 15, then 3 to 100.
winning_rolls=6,1,6,1,3,3

flashing() { window_shot "$work/now.png" && [ "$(differing_pixels "$work/won.png" "$work/now.png")" != 0 ]; }

reach_phase() {
    case $phase in
    setup)
        start_app "$scripted_window" --report ;;
    mid-roll)
        start_app "$scripted_window" --report
        xdotool mousemove --window "$window" $DIE click 1
        wait_until 10 die_changed "$work/die-rest.png" || fail "the die did not roll" ;;
    mid-walk)
        start_app "$scripted_window" --report --rolls 6
        xdotool mousemove --window "$window" $DIE click 1
        wait_for_output '^step' 2 10 ;;
    won | new-game-after-win)
        start_app "$scripted_window" --report --pause-percent 0 --rolls $winning_rolls
        for n in 1 2 3 4 5 6; do
            xdotool mousemove --window "$window" $DIE click 1
            wait_for_output '^moved' "$n" 10
        done
        # The winner's label flashes.
        window_shot "$work/won.png"
        wait_until 10 flashing || fail "the winner's label does not flash"
        if [ "$phase" = new-game-after-win ]; then
            xdotool mousemove --window "$window" $NEW_GAME click 1
            wait_until 10 die_at_rest || fail "the die is not at rest after New Game"
        fi ;;
    *) fail "unknown phase $phase" ;;
    esac
}

for method in exit close; do
    reach_phase
    if [ "$method" = exit ]; then
        xdotool mousemove --window "$window" $EXIT click 1
    else
        "${emulator[@]}" "$close_window" "$window"
    fi
    expect_clean_end "$phase, $method"
done
