# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for tests that run the program in a real window on a private Xvfb screen (or under a
# private Wayland compositor). Sourced; everything is cleaned up on exit.

work=$(mktemp -d)
servers=() # the display server, and whatever else a test starts to last as long as it
cleanup() {
    local status=$?
    # A program or server that has already ended must not cut the clean-up short under set -e.
    # (Under dbus-run-session, the program is its child.) The servers are gone before their
    # folders are removed, so that none writes into them meanwhile.
    [ -n "${app_pid:-}" ] && { pkill -P "$app_pid"; kill "$app_pid"; } 2>/dev/null || true
    [ ${#servers[@]} = 0 ] || { kill "${servers[@]}"; wait "${servers[@]}"; } 2>/dev/null || true
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
# A test killed on timeout still takes its X server and program down with it.
trap 'exit 143' TERM INT

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs command $2... until it succeeds, for up to $1 seconds; fails when it never did.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Starts Xvfb on a free display number, with a screen of $1 pixels (default 1280x1024); a test
# may start more than one.
start_xvfb() {
    local display
    display=$(mktemp "$work/display.XXX")
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp 3>"$display" \
        2>"$work/xvfb.log" &
    servers+=($!)
    wait_until 10 test -s "$display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n1 "$display")"
}

# Every program gets a private session bus, as in a desktop session: without one, the
# accessibility bridge would have libdbus fork a bus of its own while the program's threads run.
# A test that runs on a private bus of its own empties this.
app_bus=(dbus-run-session --)
# A cross-built program runs under the emulator its build names (tests/CMakeLists.txt), a native
# one as it is: every program a test starts goes through "${emulator[@]}".
read -r -a emulator <<<"${TAVLO_EMULATOR:-}"

# Starts the program ($@; a caller sets its environment by assignments before start_app), sets
# app_pid and window to its main window, and waits for its first frame: the background's navy in
# the corner, and two pictures in a row the same.
start_app() {
    "${app_bus[@]}" "${emulator[@]}" "$@" >"$work/app.out" 2>"$work/app.err" &
    app_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tavlo - Game created by ' | head -n1) ||
        fail "no window appeared; stderr: $(cat "$work/app.err")"
    settled_shot "$work/first.png" 5 5 "srgb(0,0,25)"
}

# A picture of the window in file $1 (tests/wayland cuts it from the screen).
window_shot() { import -window "$window" "$1"; }

# Takes pictures of the window into $1 until one is the same as the one before it and, given
# $2 $3 $4, pixel $2,$3 of it is colour $4: the window has drawn all it was asked to.
settled_shot() {
    rm -f "$1" "$1.before"
    wait_until 20 same_again "$@" || fail "the window did not settle on $*: $(cat "$work/app.err")"
}
same_again() {
    [ ! -f "$1" ] || mv "$1" "$1.before"
    window_shot "$1"
    [ -f "$1.before" ] && [ "$(differing_pixels "$1" "$1.before")" = 0 ] &&
        { [ $# = 1 ] || [ "$(pixel "$1" "$2" "$3")" = "$4" ]; }
}

# Fails unless the window is $1 (WIDTHxHEIGHT); $2 says when. Sets X, Y, WIDTH and HEIGHT.
expect_size() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "${WIDTH}x${HEIGHT}" = "$1" ] || fail "${2:+$2: }the window is ${WIDTH}x${HEIGHT}, not $1"
}

# Waits for the program to end after $1 (what ended it) and fails unless it ended with status 0
# and no sanitizer report. The limit, $2 seconds (10), is for a hang, not for speed: a loaded
# machine is slow.
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
expect_clean_end() {
    local status=0
    wait_until "${2:-10}" app_ended || fail "$1: the program did not end within ${2:-10}s"
    wait "$app_pid" || status=$?
    app_pid=
    [ "$status" = 0 ] || fail "$1: status $status: $(cat "$work/app.err")"
    ! grep -E -q 'Sanitizer|runtime error' "$work/app.err" ||
        fail "$1: sanitizer report: $(cat "$work/app.err")"
    echo "$1: ended with status 0"
}

# The colour of one pixel of a picture, as srgb(r,g,b).
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }

# How many pixels differ between pictures $1 and $2, as a whole number (ImageMagick 7 prints a
# decimal and the fraction after it).
differing_pixels() {
    local out
    out=$(compare -metric AE "$1" "$2" null: 2>&1) || [ $? = 1 ] || fail "compare: $out"
    printf '%.0f\n' "${out%% *}"
}

# Waits up to $3 seconds until the program has printed $2 lines matching $1.
wait_for_output() {
    local pattern=$1 count=$2
    wait_until "$3" printed_or_ended || fail "waited ${3}s for $count lines matching '$pattern'"
    printed || fail "the program ended early: $(cat "$work/app.err")"
}
printed() { [ "$(grep -c -E "$pattern" "$work/app.out")" -ge "$count" ]; }
printed_or_ended() { printed || app_ended; }

# Player 1 wins in six rolls: 6, (2: 1), 6, (2: 1), 3 onto the ladder at 15, then 3 to 100.
WINNING_ROLLS=6,1,6,1,3,3
WINNING_MOVES="moved | Player 2's  Turn
moved | Player 1's  Turn
moved | Player 2's  Turn
moved | Player 1's  Turn
moved | Player 1's  Turn
moved | Player 2's  Turn | Player 1  Wins"
# Plays that game, started with --report --rolls $WINNING_ROLLS, each move within $2 seconds,
# and fails unless it went move for move as on every build (an arm64 one under qemu, a Windows
# one under Wine, whose lines end with a carriage return too). $1 names the game.
play_winning_game() {
    local n moves
    for n in $(seq 6); do
        xdotool mousemove --window "$window" $DIE click 1
        wait_for_output '^moved' "$n" "$2"
    done
    moves=$(grep '^moved' "$work/app.out" | tr -d '\r')
    [ "$moves" = "$WINNING_MOVES" ] || fail "$1: the moves were not the scripted game's: $moves"
}

# Window-relative places of the controls a script clicks.
DIE="856 144"
NEW_GAME="860 34"
EXIT="860 676"
NAME1="834 508"
