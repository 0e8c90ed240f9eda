#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Thousands of random clicks and key presses on every control of the real window, with the
# pauses shortened: the program must not crash, report a sanitizer error or break the game's
# invariants (which it checks itself whenever it goes idle), and must still exit cleanly.
# Usage: monkey_test.sh <scripted_window> [actions] [seed]
set -euo pipefail
scripted_window=$1
actions=${2:-3000}
seed=${3:-$RANDOM}
source "$(dirname "$0")/lib.sh"
start_xvfb
echo "seed $seed, $actions actions"
RANDOM=$seed

start_app "$scripted_window" --pause-percent 2 --seed "$seed" --check --report

# Window-relative spots: the three options, the four name boxes, the two title-bar buttons, the
# board, the labels and the bare window. The die and New Game are picked apart, New Game
# seldom, so that rolls get to end in moves. Never Exit.
spots=("800 340" "800 372" "800 404" "830 508" "830 548" "830 588" "830 628" "860 300"
    "860 468" "300 300" "40 650" "860 72" "860 244" "930 600")
# No Space or Enter: with Tab they could reach Exit and press it.
keys=(a z 0 Tab BackSpace Delete Left Right Up Down Home End Escape F1 less
    ampersand apostrophe quotedbl backslash)

done_actions=0
while [ "$done_actions" -lt "$actions" ]; do
    # One xdotool run carries a batch of actions, so the batch takes milliseconds, not seconds.
    batch=()
    for _ in $(seq 50); do
        dice=$((RANDOM % 100))
        if [ "$dice" -lt 25 ]; then
            batch+=(key --window "$window" --delay 0 "${keys[RANDOM % ${#keys[@]}]}")
        else
            spot=${spots[RANDOM % ${#spots[@]}]}
            [ "$dice" -ge 65 ] || spot=$DIE
            [ "$dice" != 65 ] || spot=$NEW_GAME
            read -r x y <<<"$spot"
            batch+=(mousemove --window "$window" $((x + RANDOM % 7 - 3)) $((y + RANDOM % 7 - 3))
                click --delay 0 $((RANDOM % 8 == 0 ? 3 : 1)))
        fi
        # Now and then a breath, so rolls and moves get to run between the clicks.
        [ $((RANDOM % 3)) -eq 0 ] && batch+=(sleep 0.05)
    done
    xdotool "${batch[@]}"
    done_actions=$((done_actions + 50))
    kill -0 "$app_pid" 2>/dev/null || fail "the program died after $done_actions actions: $(cat "$work/app.err")"
done

xdotool mousemove --window "$window" $EXIT click 1
expect_clean_end Exit
moves=$(grep -c '^moved' "$work/app.out" || true)
[ "$moves" -gt 0 ] || fail "no move was ever played: the clicks never reached the die"
echo "monkey: $actions actions, $moves moves, no crash, invariants held, clean exit"
