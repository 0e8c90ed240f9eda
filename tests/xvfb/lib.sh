# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for tests that run the program in a real window on a private Xvfb screen (or, with
# tests/wayland/window_test.sh, under a private Wayland compositor). Sourced; start_xvfb sets
# DISPLAY; everything is cleaned up on exit.

work=$(mktemp -d)
servers=() # the display server, and whatever else a test starts to last as long as it
cleanup() {
    local status=$? pid
    # A program or server that has already ended must not cut the clean-up short under set -e.
    [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
    for pid in "${servers[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    # Gone before their folders are removed, so that none writes into them meanwhile.
    for pid in "${servers[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
# A test killed on timeout still takes its X server and program down with it.
trap 'exit 143' TERM INT

# As on a desktop session: a private runtime folder.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb on a free display number, with a screen of $1 pixels (default 1280x1024).
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.log" &
    servers+=($!)
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.05
    done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n1 "$work/display")"
}

# Starts the program ($@) and sets app_pid and window to its main window.
start_app() {
    "$@" >"$work/app.out" 2>"$work/app.err" &
    app_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tavlo - Game created by ' | head -n1) ||
        fail "no window appeared; stderr: $(cat "$work/app.err")"
}

# Waits up to $1 seconds for the program to end; sets app_status and app_seconds.
wait_app() {
    local limit=$1 start end
    start=$(date +%s%N)
    for _ in $(seq $((limit * 100))); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.01
    done
    end=$(date +%s%N)
    kill -0 "$app_pid" 2>/dev/null && fail "the program did not end within ${limit}s"
    app_status=0
    wait "$app_pid" || app_status=$?
    app_pid=
    app_seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
}

# Fails when the program's standard error holds a sanitizer report.
check_clean_run() {
    if grep -E -q 'Sanitizer|runtime error' "$work/app.err"; then
        fail "sanitizer report: $(cat "$work/app.err")"
    fi
}

# Waits for the program to end after $1 (what ended it) and fails unless it ended within half a
# second, with status 0 and no sanitizer report.
expect_clean_end() {
    wait_app 5
    [ "$app_status" = 0 ] || fail "$1: status $app_status: $(cat "$work/app.err")"
    check_clean_run
    awk -v s="$app_seconds" 'BEGIN { exit !(s < 0.5) }' || fail "$1: took ${app_seconds}s"
    echo "$1: ended in ${app_seconds}s with status 0"
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
    local pattern=$1 count=$2 limit=$3
    for _ in $(seq $((limit * 20))); do
        [ "$(grep -c -E "$pattern" "$work/app.out" || true)" -ge "$count" ] && return 0
        kill -0 "$app_pid" 2>/dev/null || fail "the program ended early: $(cat "$work/app.err")"
        sleep 0.05
    done
    fail "waited ${limit}s for $count lines matching '$pattern'"
}

# Window-relative places of the controls a script clicks.
DIE="856 144"
NEW_GAME="860 34"
EXIT="860 676"
NAME1="834 508"
