#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole game as a blind player hears it: Orca, speaking through a speech-dispatcher that writes
# down what it says, follows the program over the real accessibility bus (a private session bus,
# the accessibility bus and its registry). A client (accessibility_client.py) plays by keys and
# checks each thing Orca says, and what the tokens and labels are called on the bus. Then Exit
# ends the program cleanly.
# Usage: accessibility_bus_test.sh <scripted_window> [its options: --notification]
set -euo pipefail
# Only the buses started here may be found, whatever the calling session has: the test runs on a
# private session bus, which starts the accessibility bus and its registry when first asked, as a
# desktop does, and takes them down with it.
if [ -z "${TAVLO_PRIVATE_BUS:-}" ]; then
    exec env -u AT_SPI_BUS_ADDRESS TAVLO_PRIVATE_BUS=1 dbus-run-session -- "$0" "$@"
fi
scripted_window=$1
shift
client=$(dirname "$0")/accessibility_client.py
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/orca.sh"
app_bus=() # the program joins the test's bus

# Debian's own python3 has pyatspi; another python3 may come first on the PATH.
python=/usr/bin/python3
name1='<b>Ada</b>'
rolls=6,6,6,6,1,6,2,1,6,2

client_pid=
# Ends what this test started (Orca before the buses it listens on), then leaves the program and
# the X server to lib.sh's cleanup with the test's status.
stop_test() {
    local status=$?
    set +e
    stop_speech_and_orca
    [ -z "$client_pid" ] || kill "$client_pid" 2>/dev/null
    (exit "$status") # cleanup takes the status from the command before it
    cleanup
}
trap stop_test EXIT

start_xvfb
# The accessibility bus's launcher, started by the session bus, keeps its settings in memory.
dbus-update-activation-environment GSETTINGS_BACKEND=memory
start_speech_and_orca

# Without a desktop, Qt joins the accessibility bus only when told to.
start_app env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$scripted_window" --pause-percent 0 --name1 "$name1" --rolls "$rolls" "$@"
# As a window manager would, give the new window the keyboard, which Orca hears as the window
# becoming active: it reads out the window and the focused die.
timeout 10 xdotool windowfocus --sync "$window" || fail "could not give the window the keyboard"
wait_for_speech '^Roll the die'

"$python" -I "$client" "$name1" "$rolls" "$work/spoken" &
client_pid=$!
wait "$client_pid" || fail "the screen reader heard something wrong (client status $?)"
client_pid=

xdotool mousemove --window "$window" $EXIT click 1
expect_clean_end Exit
