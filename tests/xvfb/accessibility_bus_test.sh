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
app_bus=() # the program joins the test's bus

# Debian's own python3 has pyatspi; another python3 may come first on the PATH.
python=/usr/bin/python3
name1='<b>Ada</b>'
rolls=6,6,6,6,1,6,2,1,6,2

# Orca, asked to end, takes seconds: it is killed, itself rather than unshare, which reaps it and
# then ends the same way (an orphan would stay a zombie until init reaps it). Then lib.sh's
# cleanup takes the rest down with the test's status.
orca_pid=
trap 'status=$?; set +e; [ -z "$orca_pid" ] || pkill -KILL -P "$orca_pid"; (exit $status)
    cleanup' EXIT

# Waits up to $2 seconds (10) until Orca has said a line matching the extended regex $1.
wait_for_speech() {
    local pattern=$1
    wait_until "${2:-10}" spoken_or_orca_ended ||
        fail "waited ${2:-10}s for Orca to say '$pattern'; it said: $(cat "$work/spoken")"
    spoken || fail "Orca ended: $(tail -n 20 "$work/orca.out")"
}
spoken() { grep -q -E -- "$pattern" "$work/spoken"; }
spoken_or_orca_ended() { spoken || ! kill -0 "$orca_pid" 2>/dev/null; }

start_xvfb
# The accessibility bus's launcher, started by the session bus, keeps its settings in memory.
dbus-update-activation-environment GSETTINGS_BACKEND=memory

# All Orca says is written down: our own speech-dispatcher's only voice appends each utterance as
# one line to $work/spoken.
conf=$work/speechd
home=$work/orca-home
mkdir -p "$conf/modules" "$home" "$work/orca-prefs"
: >"$work/spoken"
# The module needs a sound output that opens, which PulseAudio's would not: libao, whose null
# driver plays whatever comes to nothing.
echo default_driver=null >"$home/.libao"
printf '%s\n' 'AddModule "file" "sd_generic" "file.conf"' 'DefaultModule file' \
    'AudioOutputMethod "libao"' >"$conf/speechd.conf"
# The module cuts a message at its delimiters and past its chunk length: the only delimiter is a
# character no text has, and newlines become spaces, so that one utterance is one line. Orca
# speaks English, which without a charset here would be recoded to Latin-1.
cat >"$conf/modules/file.conf" <<EOF
GenericExecuteSynth "{ printf %s \\'\$DATA\\' | tr \\'[:cntrl:]\\' \\' \\'; echo; } >>\\'$work/spoken\\'"
GenericDelimiters "$(printf '\037')"
GenericMaxChunkLength 100000
GenericLanguage "en" "en" "utf-8"
AddVoice "en" "MALE1" "file"
EOF
# A locale that every machine has: speech-dispatcher will not start in one that is missing.
HOME=$home LC_ALL=C.UTF-8 speech-dispatcher --run-single --timeout 0 --config-dir "$conf" \
    --communication-method unix_socket --socket-path "$work/speechd.sock" \
    --pid-file "$work/speechd.pid" --log-dir "$work" >"$work/speechd.out" 2>&1 </dev/null &
servers+=($!) # and its module with it
# Orca must find it listening, or its client would start a speech-dispatcher of its own.
wait_until 10 test -S "$work/speechd.sock" ||
    fail "speech-dispatcher did not start: $(cat "$work/speechd.out")"
# Orca runs this file at start: its debug log line by line, so that a killed Orca loses none of
# it, and no echo of the keys pressed, which would come between what the program says.
printf '%s\n' 'from orca import debug, settings' \
    'debug.debugFile.reconfigure(line_buffering=True)' 'settings.enableKeyEcho = False' \
    >"$work/orca-prefs/orca-customizations.py"
# Orca will not start while pgrep finds another Orca of the same user: its own PID namespace shows
# it none. Only root may make one alone; an ordinary user makes it in a user namespace of its
# own, in which it is still itself, as the buses it talks to require. Orca speaks English
# whatever the caller's locale and LANGUAGE.
as_user=()
[ "$(id -u)" = 0 ] || as_user=(--user --map-current-user)
HOME=$home LC_ALL=C.UTF-8 LANGUAGE='' SPEECHD_ADDRESS=unix_socket:$work/speechd.sock \
    unshare "${as_user[@]}" --pid --fork --mount-proc --kill-child \
    orca --user-prefs "$work/orca-prefs" --debug-file "$work/orca.log" \
    >"$work/orca.out" 2>&1 </dev/null &
orca_pid=$!
disown "$orca_pid" # or this shell would report the kill that ends it
# Orca listens to the accessibility bus before it says that it is on.
wait_for_speech '^Screen reader on\.?$' 30

# Without a desktop, Qt joins the accessibility bus only when told to.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_app \
    "$scripted_window" --pause-percent 0 --name1 "$name1" --rolls "$rolls" "$@"
# As a window manager would, give the new window the keyboard, which Orca hears as the window
# becoming active: it reads out the window and the focused die.
timeout 10 xdotool windowfocus --sync "$window" || fail "could not give the window the keyboard"
wait_for_speech '^Roll the die'

# In the background, so that a test killed on timeout ends at once; lib.sh's cleanup ends it.
"$python" -I "$client" "$name1" "$rolls" "$work/spoken" &
servers+=($!)
wait $! || fail "the screen reader heard something wrong (client status $?)"

xdotool mousemove --window "$window" $EXIT click 1
expect_clean_end Exit
