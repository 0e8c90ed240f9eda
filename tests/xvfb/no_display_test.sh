#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Without a display the program says so in one line and exits with a failure status, no core.
# Usage: no_display_test.sh <tavlo>
set -euo pipefail
tavlo=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
for display in "" ":93"; do # none at all, and one where no server listens
    status=0
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$tavlo" 2>"$err" </dev/null || status=$?
    lines=$(wc -l <"$err")
    if [ "$status" = 0 ] || [ "$status" -ge 128 ] || [ "$lines" != 1 ]; then
        echo "FAIL: DISPLAY='$display': status $status, $lines lines on stderr:" >&2
        cat "$err" >&2
        exit 1
    fi
    echo "DISPLAY='$display': status $status: $(cat "$err")"
done
