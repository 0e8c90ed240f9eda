#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole game by keyboard alone, on a private Xvfb screen: in a fresh window Space rolls for
# player 1; Ctrl+N pressed while a roll runs starts the new game still; then three players are
# chosen with the arrow keys, named by typing, and play to a win with Space, Enter and keypad
# Enter; Ctrl+N and Space start the next game, and Ctrl+Q mid-roll ends the program. No mouse
# event is sent.
# Usage: keyboard_test.sh <scripted_window>
set -euo pipefail
scripted_window=$1
source "$(dirname "$0")/lib.sh"
start_xvfb

# Player 1's first roll, the roll that New Game cuts short, then the game: Ada 6, Ben 1, Cleo 1,
# Ada 6, Ben 1, Cleo 1, Ada 3 onto the ladder from 15 to 97 and again 3, to 100.
start_app "$scripted_window" --report --pause-percent 0 --rolls 4,2,6,1,1,6,1,1,3,3
xdotool windowfocus --sync "$window"
keys() { xdotool key --delay 40 "$@"; }
moves() { grep -c '^moved' "$work/app.out" || true; }

keys space
wait_for_output '^moved' 1 10
[ "$(tail -n1 "$work/app.out")" = "moved | Player 2's  Turn" ] ||
    fail "Space did not roll for player 1: $(tail -n1 "$work/app.out")"

# New Game while the die rolls: the die comes to rest, and no one moves (the count of moves at
# the end says so too).
keys space ctrl+n
wait_until 10 die_at_rest || fail "the die is not at rest after New Game"
[ "$(moves)" = 1 ] || fail "a player of the new game moved: $(tail -n1 "$work/app.out")"

# Setup from the die: on to the options, Down chooses three players, Tab into the names.
keys Tab Down Tab
xdotool type --delay 20 Ada
keys Tab
xdotool type --delay 20 Ben
keys Tab
xdotool type --delay 20 Cleo
# Back to the die: the second name, the first, the chosen option, the die.
keys shift+Tab shift+Tab shift+Tab shift+Tab

expected=("moved | Ben's  Turn" "moved | Cleo's  Turn" "moved | Ada's  Turn"
    "moved | Ben's  Turn" "moved | Cleo's  Turn" "moved | Ada's  Turn"
    "moved | Ada's  Turn" "moved | Ben's  Turn | Ada  Wins")
for i in "${!expected[@]}"; do
    case $((i % 3)) in
    0) keys space ;;
    1) keys Return ;;
    2) keys KP_Enter ;;
    esac
    wait_for_output '^moved' $((i + 2)) 10
    line=$(tail -n1 "$work/app.out")
    [ "$line" = "${expected[i]}" ] || fail "roll $((i + 1)): '$line', not '${expected[i]}'"
done

# The game is over: the die ignores the keys until Ctrl+N, which leaves the focus on it. A roll
# would show within seconds; none may.
die_shot "$work/won.png"
keys space
! wait_until 2 die_changed "$work/won.png" || fail "the die rolled after the win"
keys ctrl+n space
wait_for_output '^moved' 10 10
[ "$(tail -n1 "$work/app.out")" = "moved | Ben's  Turn" ] ||
    fail "Space after Ctrl+N did not roll for player 1: $(tail -n1 "$work/app.out")"
keys space ctrl+q
expect_clean_end "Ctrl+Q mid-roll"
[ "$(moves)" = 10 ] || fail "$(moves) moves in all, not 10: $(cat "$work/app.out")"
echo "keyboard: Space rolled in a fresh window, Ctrl+N mid-roll left the game still, a" \
    "three-player game with typed names ran to a win, Ctrl+N and Space rolled again and Ctrl+Q" \
    "ended the program, by keyboard alone"
