#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Linux build's side of the web page's test (tests/web/page_test.py compares with it): the
# scripted window on a private Xvfb screen plays the test's game by real clicks, and its moves and
# its window at the win go into folder $2; then its window at start, at scale 2, and again with
# Liberation Sans, which has Arial's metrics, out of fontconfig's reach: a fallback font's text.
# Usage: linux_game.sh <Linux scripted_window> <folder>
set -euo pipefail
scripted_window=$1
out=$2
source "$(dirname "$0")/../xvfb/lib.sh"
start_xvfb 2560x1600

start_app "$scripted_window" --report --pause-percent 0 --rolls "$WINNING_ROLLS"
play_winning_game "the Linux build's game" 20
grep '^moved' "$work/app.out" >"$out/linux.moves"
# (The winner's label flashes: the window never settles.)
window_shot "$out/linux-won.png"
xdotool mousemove --window "$window" $EXIT click 1
expect_clean_end "the Linux build's game" >/dev/null

# With the keyboard, as the page's window has it: the die shows its focus ring.
scaled_start() {
    QT_SCALE_FACTOR=2 start_app "$scripted_window"
    xdotool windowfocus --sync "$window"
    settled_shot "$out/linux-start2${1:-}.png"
    xdotool mousemove --window "$window" $((${EXIT% *} * 2)) $((${EXIT#* } * 2)) click 1
    expect_clean_end "the Linux build at scale 2${2:-}" >/dev/null
}
scaled_start
cat >"$work/fallback.conf" <<'EOF'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include>/etc/fonts/fonts.conf</include>
  <selectfont><rejectfont><glob>/usr/share/fonts/truetype/liberation*/*</glob></rejectfont></selectfont>
</fontconfig>
EOF
FONTCONFIG_FILE=$work/fallback.conf scaled_start -fallback " with a fallback font"
rm -f "$out"/*.before
