# SPDX-License-Identifier: GPL-3.0-or-later
# Orca, the screen reader, following the program, and all it says written down: our own
# speech-dispatcher's only voice appends each utterance as one line to $work/spoken. Sourced
# after lib.sh; starting needs $work, fail, DISPLAY and the session and accessibility buses.

speechd_pid=
orca_pid=

# Starts speech-dispatcher and Orca, and returns once Orca has said that it is on.
start_speech_and_orca() {
    local conf=$work/speechd home=$work/orca-home
    mkdir -p "$conf/modules" "$home" "$work/orca-prefs"
    : >"$work/spoken"
    # The module needs a sound output that opens, which PulseAudio's would not: libao, whose
    # null driver plays whatever comes to nothing.
    echo default_driver=null >"$home/.libao"
    printf '%s\n' 'AddModule "file" "sd_generic" "file.conf"' 'DefaultModule file' \
        'AudioOutputMethod "libao"' >"$conf/speechd.conf"
    # The module cuts a message at its delimiters and past its chunk length: the only delimiter
    # is a character no text has, and newlines become spaces, so that one utterance is one line.
    # Orca speaks English, which without a charset here would be recoded to Latin-1.
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
    speechd_pid=$!
    # Orca must find it listening, or its client would start a speech-dispatcher of its own.
    wait_until 10 test -S "$work/speechd.sock" ||
        fail "speech-dispatcher did not start: $(cat "$work/speechd.out")"
    # Orca runs this file at start: its debug log line by line, so that a killed Orca loses none
    # of it, and no echo of the keys pressed, which would come between what the program says.
    printf '%s\n' 'from orca import debug, settings' \
        'debug.debugFile.reconfigure(line_buffering=True)' 'settings.enableKeyEcho = False' \
        >"$work/orca-prefs/orca-customizations.py"
    # Orca will not start while pgrep finds another Orca of the same user: its own PID namespace
    # shows it none. Only root may make one alone; an ordinary user makes it in a user namespace
    # of its own, in which it is still itself, as the buses it talks to require. Orca speaks
    # English whatever the caller's locale and LANGUAGE.
    local as_user=()
    [ "$(id -u)" = 0 ] || as_user=(--user --map-current-user)
    HOME=$home LC_ALL=C.UTF-8 LANGUAGE='' SPEECHD_ADDRESS=unix_socket:$work/speechd.sock \
        unshare "${as_user[@]}" --pid --fork --mount-proc --kill-child \
        orca --user-prefs "$work/orca-prefs" --debug-file "$work/orca.log" \
        >"$work/orca.out" 2>&1 </dev/null &
    orca_pid=$!
    disown "$orca_pid" # or this shell would report the kill that ends it
    # Orca listens to the accessibility bus before it says that it is on.
    wait_for_speech '^Screen reader on\.?$' 1 30
}

# Sends signal $1 (0: none) to process $2, then kills it if it has not ended within two seconds.
end_speech_process() {
    kill -"$1" "$2" 2>/dev/null || return 0
    wait_until 2 process_gone "$2" || kill -KILL "$2" 2>/dev/null || true
}
process_gone() { case $(ps -o stat= -p "$1") in '' | Z*) ;; *) false ;; esac; }

# Ends Orca and speech-dispatcher, whichever runs; safe to call twice. Orca, asked to end, takes
# seconds: it is killed, itself rather than unshare, which reaps it and then ends the same way
# (an orphan would stay a zombie until init reaps it).
stop_speech_and_orca() {
    local orca
    if [ -n "$orca_pid" ]; then
        orca=$(ps -o pid= --ppid "$orca_pid" 2>/dev/null) || true
        kill -KILL ${orca:-$orca_pid} 2>/dev/null || true
        end_speech_process 0 "$orca_pid"
    fi
    [ -z "$speechd_pid" ] || end_speech_process TERM "$speechd_pid" # and its module with it
    orca_pid='' speechd_pid=''
}

# Waits up to $3 seconds (10) until $work/spoken has $2 lines (1) matching the extended regex $1.
wait_for_speech() {
    local pattern=$1 count=${2:-1} limit=${3:-10}
    wait_until "$limit" spoken_or_orca_ended ||
        fail "waited ${limit}s for $count spoken lines matching '$pattern'; Orca said:" \
            "$(cat "$work/spoken")"
    spoken || { orca_pid='' && fail "Orca ended: $(tail -n 20 "$work/orca.out")"; }
}
spoken() { [ "$(grep -c -E -- "$pattern" "$work/spoken")" -ge "$count" ]; }
spoken_or_orca_ended() { spoken || ! kill -0 "$orca_pid" 2>/dev/null; }
