#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A 100,000-character name costs the walk nothing: with the real 500 ms pauses every step still
# comes on time, and the program stays clean.
# Usage: long_name_test.sh <scripted_window>
set -euo pipefail
host=$1
source "$(dirname "$0")/lib.sh"
start_xvfb

start_app "$host" --report --rolls 6 --name1-length 100000
xdotool mousemove --window "$window" $DIE click 1
wait_for_output '^moved' 1 15
# The last six reports are the walk; an earlier one is the token's first placement on show.
mapfile -t steps < <(awk '/^step/ { print $2 }' "$work/app.out" | tail -n 6)
[ "${#steps[@]}" -eq 6 ] || fail "expected 6 steps, saw ${#steps[@]}: ${steps[*]}"
for i in 1 2 3 4 5; do
    gap=$((steps[i] - steps[i - 1]))
    [ "$gap" -ge 490 ] && [ "$gap" -le 550 ] || fail "step $i came after ${gap} ms, not 500"
    echo "step $i after ${gap} ms"
done
xdotool mousemove --window "$window" $EXIT click 1
expect_clean_end Exit
