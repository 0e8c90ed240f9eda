#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole game as a blind player hears it: Orca, speaking through a speech-dispatcher that writes
# down what it says, follows the program over the real accessibility bus (a private session bus,
# the accessibility bus and its registry). A client (accessibility_client.py) plays by keys and
# checks each thing Orca says, and what the tokens and labels are called on the bus. Then Exit
# ends the program cleanly.
# Usage: accessibility_bus_test.sh <scripted_window> [its options: --notification]
set -euo pipefail
host=$1
shift
client=$(dirname "$0")/accessibility_client.py
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/orca.sh"

# Debian's own python3 has pyatspi; another python3 may come first on the PATH.
python=/usr/bin/python3
name1='<b>Ada</b>'
rolls=6,6,6,6,1,6,2,1,6,2

# Only the buses started here may be found, whatever the calling session has.
unset AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS

session_bus_pid=
launcher_pid=
registry_pid=
client_pid=

# Asks process $1 to end and waits up to two seconds before killing it.
end_process() {
    local pid=$1
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 100); do
        case $(ps -o stat= -p "$pid" 2>/dev/null) in
        '' | Z*) break ;;
        esac
        sleep 0.02
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Ends what this test started, newest first (the launcher ends the accessibility bus it
# started), then leaves the program and the X server to lib.sh's cleanup with the test's status.
stop_buses() {
    local status=$? pid
    set +e
    trap - EXIT
    stop_speech_and_orca # before the buses it listens on
    for pid in "$client_pid" "$registry_pid" "$launcher_pid" "$session_bus_pid"; do
        [ -n "$pid" ] && end_process "$pid"
    done
    (exit "$status") # cleanup takes the status from the command before it
    cleanup
}
trap stop_buses EXIT

# Waits up to $2 seconds until the bus at address $1 has an owner for the name $3, which process
# $4 should take; $5 is that process's standard error.
wait_for_name() {
    local bus=$1 limit=$2 name=$3 pid=$4 log=$5
    for _ in $(seq $((limit * 20))); do
        dbus-send --bus="$bus" --print-reply=literal --dest=org.freedesktop.DBus \
            /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$name" 2>/dev/null |
            grep -q true && return 0
        kill -0 "$pid" 2>/dev/null || fail "$name: its process ended: $(cat "$log")"
        sleep 0.05
    done
    fail "nothing took the name $name on $bus within ${limit}s: $(cat "$log")" \
        "$(ps -o pid,ppid,stat,args --ppid "$$,$launcher_pid")"
}

start_xvfb

# A session bus of our own, listening inside the test's folder.
dbus-daemon --session --nofork --address="unix:dir=$work" --print-address=3 \
    3>"$work/session-bus" >"$work/session-bus.out" 2>"$work/session-bus.err" &
session_bus_pid=$!
for _ in $(seq 100); do
    [ "$(wc -l <"$work/session-bus")" -ge 1 ] && break
    sleep 0.05
done
[ "$(wc -l <"$work/session-bus")" -ge 1 ] ||
    fail "the session bus did not start: $(cat "$work/session-bus.err")"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/session-bus")
export DBUS_SESSION_BUS_ADDRESS

# The accessibility bus, as a desktop starts it. Nothing may ask for it before the launcher owns
# its name, or the session bus would start a second launcher of its own.
GSETTINGS_BACKEND=memory /usr/libexec/at-spi-bus-launcher --launch-immediately \
    >"$work/launcher.out" 2>"$work/launcher.err" &
launcher_pid=$!
wait_for_name "$DBUS_SESSION_BUS_ADDRESS" 10 org.a11y.Bus "$launcher_pid" "$work/launcher.err"
a11y_bus=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress) || fail "no accessibility bus: $(cat "$work/launcher.err")"
a11y_bus=${a11y_bus//[[:space:]]/}

# The registry that tells programs which events anyone listens to. Started here rather than on
# demand so that it is ours to end.
/usr/libexec/at-spi2-registryd >"$work/registry.out" 2>"$work/registry.err" &
registry_pid=$!
wait_for_name "$a11y_bus" 10 org.a11y.atspi.Registry "$registry_pid" "$work/registry.err"

start_speech_and_orca

# Without a desktop, Qt joins the accessibility bus only when told to.
start_app env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$host" --pause-percent 0 --name1 "$name1" --rolls "$rolls" "$@"
# As a window manager would, give the new window the keyboard, which Orca hears as the window
# becoming active: it reads out the window and the focused die.
timeout 10 xdotool windowfocus --sync "$window" || fail "could not give the window the keyboard"
wait_for_speech '^Roll the die'

"$python" -I "$client" "$name1" "$rolls" "$work/spoken" &
client_pid=$!
client_status=0
wait "$client_pid" || client_status=$?
client_pid=
[ "$client_status" = 0 ] || fail "the screen reader heard something wrong (client status $client_status)"

xdotool mousemove --window "$window" $EXIT click 1
expect_clean_end Exit
