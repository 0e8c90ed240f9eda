#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built program under a private headless Wayland compositor (sway, without Xwayland, with a
# keyboard as every desktop has one): it runs there natively, as an xdg-shell window with its
# desktop id as app_id, and each time the compositor closes the window it ends at once, cleanly.
# The close is repeated <closes> times (default 5); by hand, 200 closes show that none leaves the
# program running. Then, on a screen too small for it, the window scrolls to the control the
# keyboard reaches.
# Run as root, the compositor and the program run as the user nobody: sway refuses root.
# Usage: window_test.sh <tavlo> [closes]
set -euo pipefail
tavlo=$1
closes=${2:-5}
# shellcheck source-path=SCRIPTDIR source=../xvfb/lib.sh
source "$(dirname "$0")/../xvfb/lib.sh"
id=io.github.tavlo.Tavlo

# The session's user owns its runtime folder, home and a copy of the program (a build folder
# need not be open to it).
session=$work/session
mkdir -p "$session/home" "$session/bin"
mkdir -m 700 "$session/runtime"
cp "$tavlo" "$session/bin/tavlo"
printf '%s\n' 'xwayland disable' 'output HEADLESS-1 resolution 1280x1024' >"$session/sway.conf"
as_user=()
if [ "$(id -u)" = 0 ]; then
    chmod 711 "$work"
    chown -R 65534:65534 "$session"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
# Nothing of the caller's environment, no DISPLAY above all: only Wayland is there to be used.
session_env=(PATH=/usr/local/bin:/usr/bin:/bin HOME="$session/home"
    XDG_RUNTIME_DIR="$session/runtime" LANG=C.UTF-8)
# (Started in the background, a function would run in a shell of its own: the pid is only the
# command's own when it is spelled out.)
in_session() { "${as_user[@]}" env -i "${session_env[@]}" "$@"; }

# Headless, with no input device of its own and drawing in software.
"${as_user[@]}" env -i "${session_env[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$session/sway.conf" >"$work/sway.log" 2>&1 &
servers+=($!)
sockets() {
    display=$(compgen -G "$session/runtime/wayland-?" | head -n1) &&
        ipc=$(compgen -G "$session/runtime/sway-ipc.*.sock" | head -n1)
}
wait_until 10 sockets || fail "sway did not start: $(tail -n 20 "$work/sway.log")"
session_env+=(WAYLAND_DISPLAY="$(basename "$display")" SWAYSOCK="$ipc")

# A virtual keyboard for the whole session.
"${as_user[@]}" env -i "${session_env[@]}" wtype -s 3600000 &
servers+=($!)
keyboard() { in_session swaymsg -t get_seats | jq -e '.[0].capabilities == 2' >/dev/null; }
wait_until 10 keyboard || fail "the session has no keyboard: $(in_session swaymsg -t get_seats)"

# Sets node to the program's window in sway's tree, as JSON, and left and top to the place of
# its client area on the screen; fails while there is none. (The program is the child of
# dbus-run-session, which lib.sh gives it.)
find_window() {
    local pid
    pid=$(pgrep -P "$app_pid" -x tavlo) && node=$(in_session swaymsg -t get_tree |
        jq -c --argjson pid "$pid" '.. | objects | select(.pid? == $pid)') && [ -n "$node" ] ||
        return 1
    left=$(jq '.rect.x + .window_rect.x' <<<"$node")
    top=$(jq '.rect.y + .window_rect.y' <<<"$node")
}
window_or_end() { find_window || app_ended; }

# The window's picture, cut from a screenshot of the whole output where sway has it now.
window_shot() {
    find_window || return 1
    in_session grim - >"$work/screen.png"
    convert "$work/screen.png" -crop "985x702+$left+$top" +repage "$1"
}

# Starts the program, sets app_pid and node, and waits until sway has placed its window.
launch() {
    node=
    "${as_user[@]}" env -i "${session_env[@]}" "${app_bus[@]}" "$session/bin/tavlo" \
        >"$work/app.out" 2>"$work/app.err" &
    app_pid=$!
    wait_until 15 window_or_end && [ -n "$node" ] ||
        fail "no window appeared; stderr: $(cat "$work/app.err")"
}

for n in $(seq "$closes"); do
    launch
    settled_shot "$work/first.png" 5 5 "srgb(0,0,25)"
    [ "$(jq -r .app_id <<<"$node")" = "$id" ] || fail "app_id is $(jq .app_id <<<"$node")"
    [ "$(jq -r .shell <<<"$node")" = xdg_shell ] ||
        fail "the window is not native: shell $(jq .shell <<<"$node")"
    in_session swaymsg "[app_id=\"$id\"] kill" >/dev/null
    expect_clean_end "the compositor's close #$n"
done
echo "wayland: $closes closes from the compositor, each ended with status 0"

# A laptop's screen at 175 %, 1097 x 617 logical pixels: the window's tile is shorter than its
# 702. The window takes the tile and its content scrolls: Tab brings Exit, out of sight below the
# tile, into sight (New Game's bar at the top goes out of it), and Space on it ends the program.
scale=1.75
in_session swaymsg output HEADLESS-1 resolution 1920x1080 scale "$scale" >/dev/null
launch
height=$(jq .window_rect.height <<<"$node")
[ "$height" -lt 702 ] || fail "the window's tile is $height pixels tall"
# The red of the screen's pixel at logical point $1,$2 of the window.
red_at() {
    find_window && in_session grim - >"$work/screen.png" &&
        convert "$work/screen.png" -format "%[fx:int(255*p{$(awk "BEGIN { printf \"%d,%d\", \
            ($left + $1) * $scale, ($top + $2) * $scale }")}.r)]" info:
}
# Scrolled to the page's end, Exit's middle is 26 pixels above the window's bottom.
scrolled_to_exit() { [ "$(red_at 775 36)" -lt 50 ] && [ "$(red_at 775 $((height - 26)))" -gt 150 ]; }
first_frame() { [ "$(red_at 775 36)" -gt 150 ]; }
wait_until 10 first_frame || fail "the window's first frame did not show New Game"
# From the die: the options, the four names, New Game, Exit. (The keyboard wtype makes for itself
# must exist before its keys go.)
in_session wtype -s 300 -k Tab -k Tab -k Tab -k Tab -k Tab -k Tab -k Tab
wait_until 10 scrolled_to_exit || fail "Exit did not come into sight"
in_session wtype -s 300 -k space
expect_clean_end "a $height-pixel tile at scale $scale, Exit reached"
