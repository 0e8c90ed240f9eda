#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Without a usable display the program exits with status 1, no core: Qt's own warning stays, and
# the program's first line of its own names the display it tried and what is missing there.
# Usage: no_display_test.sh <tavlo> <Qt's platform plugin folder>
set -euo pipefail
tavlo=$1
platforms=$2
source "$(dirname "$0")/lib.sh" # its runtime folder holds no compositor's socket

# As on a system without qt6-wayland: a copy of the program whose qt.conf gives it a plugin
# folder with every platform plugin but the Wayland ones (libqwayland-egl.so and the like up to
# Qt 6.10, the one libqwayland.so from Qt 6.11 on).
mkdir -p "$work/bin" "$work/plugins/platforms"
cp "$tavlo" "$work/bin/tavlo"
printf '[Paths]\nPlugins=%s\n' "$work/plugins" >"$work/bin/qt.conf"
for plugin in "$platforms"/*.so; do
    [[ $(basename "$plugin") == libqwayland* ]] || ln -s "$plugin" "$work/plugins/platforms/"
done

# environment | program | Qt's warning | the start of the program's first line after "window "
cases=(
    "|$tavlo|qt.qpa.xcb: could not connect to display|on X11: DISPLAY is not set"
    "DISPLAY=:93|$tavlo|qt.qpa.xcb: could not connect to display :93|on X11 display :93: no X server"
    "WAYLAND_DISPLAY=wayland-93|$tavlo|Failed to create wl_display|on Wayland display wayland-93: no Wayland compositor"
    "WAYLAND_DISPLAY=wayland-93|$work/bin/tavlo|Could not find the Qt platform plugin \"wayland\"|on Wayland display wayland-93: Qt's Wayland platform plugin is not installed (Debian package qt6-wayland)"
)
for case in "${cases[@]}"; do
    IFS='|' read -r vars program warning expected <<<"$case"
    status=0
    # shellcheck disable=SC2086 # the environment is one word or none
    env -i HOME="$work" XDG_RUNTIME_DIR="$work/runtime" $vars "${emulator[@]}" "$program" \
        2>"$work/err" </dev/null || status=$?
    ours=$(grep '^tavlo: ' "$work/err" || true)
    [ "$status" = 1 ] && grep -q -F "$warning" "$work/err" && [ "$(wc -l <<<"$ours")" -le 2 ] &&
        [[ $(head -n1 <<<"$ours") == "tavlo: cannot open the game window $expected"* ]] ||
        fail "'$vars' ($program): status $status, expected '$warning' and '$expected':" \
            "$(cat "$work/err")"
    echo "'$vars' $program: status 1: $ours"
done
