#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A 100,000-character name costs the walk nothing: with the real 500 ms pauses every step still
# comes on time, and the program stays clean.
# Usage: long_name_test.sh <scripted_window>
set -euo pipefail
scripted_window=$1
source "$(dirname "$0")/lib.sh"
start_xvfb

start_app "$scripted_window" --report --rolls 6 --name1-length 100000
xdotool mousemove --window "$window" $DIE click 1
wait_for_output '^moved' 1 15
# The last six reports are the walk; an earlier one is the token's first placement on show.
mapfile -t steps < <(awk '/^step/ { print $2 }' "$work/app.out" | tail -n 6)
[ "${#steps[@]}" -eq 6 ] || fail "expected 6 steps, saw ${#steps[@]}: ${steps[*]}"
# The steps keep a 500 ms rhythm against fixed deadlines, so one step held up by a busy machine
# is followed by a shorter gap, not by a late walk: measure each step against the rhythm, from
# the step that came earliest on it.
anchor=
for i in 0 1 2 3 4 5; do
    offset=$((steps[i] - i * 500))
    if [ -z "$anchor" ] || [ "$offset" -lt "$anchor" ]; then anchor=$offset; fi
done
for i in 0 1 2 3 4 5; do
    late=$((steps[i] - i * 500 - anchor))
    [ "$late" -le 50 ] || fail "step $i came ${late} ms behind the 500 ms rhythm: ${steps[*]}"
    [ "$i" = 0 ] || echo "step $i after $((steps[i] - steps[i - 1])) ms, ${late} ms behind the rhythm"
done
xdotool mousemove --window "$window" $EXIT click 1
expect_clean_end Exit
