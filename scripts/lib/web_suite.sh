#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tests of the web build (./scripts/test --web): builds Qt for WebAssembly the first time
# (scripts/lib/web.sh), then the program and the rules' unit tests for WebAssembly, and tests
# them; on a Debian older than 13, all of that in a bare Debian 13 root. Where the tools cannot
# be installed, Qt's source cannot be had or that root cannot be made, it says so on a
# "SKIPPED:" line and exits with status 77.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/packages.sh
source scripts/lib/debian.sh
source scripts/lib/web.sh
if web_needs_debian_root; then
    exec scripts/lib/suite_in_debian_root.sh "$WEB_DEBIAN" scripts/lib/web_suite.sh
fi

# Debian's GoogleTest source, Node.js to run the rules' tests, Chromium to show the page, driven
# through its DevTools protocol from Python, with Pillow to compare pictures; and what the Linux
# build of the scripted window needs, on a private X server, to compare with.
packages=("${WEB_PACKAGES[@]}" googletest nodejs chromium python3-websocket python3-pil
    "${BUILD_PACKAGES[@]}" libgtest-dev libgmock-dev qt6-base-private-dev libx11-dev xvfb xauth
    xdotool imagemagick dbus)
missing=$(missing_packages "${packages[@]}")
if [ -n "$missing" ] && [ "$(id -u)" != 0 ] && ! sudo -n true 2>/dev/null; then
    echo "SKIPPED: ${missing//$'\n'/ } not installed, and installing needs root" >&2
    exit 77
fi
ensure_packages "${packages[@]}"
start=$(date +%s)
qt=$(web_qt) || exit
echo "Qt for WebAssembly: $qt ($(($(date +%s) - start))s)"

start=$(date +%s)
build=build/web
web_build "$qt" "$build" web_page game_tests scripted_window
echo "the web build took $(($(date +%s) - start))s; the page's files:"
web_weight "$build/web"

# The rules' tests, under Node.js (the toolchain's emulator).
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"

# The Linux build's game and board, to compare with.
cmake -S . -B build/web-linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVLO_BUILD_BENCH=OFF >/dev/null
nice -n 19 cmake --build build/web-linux --parallel "${TAVLO_JOBS:-2}" --target scripted_window
shots=$build/screenshots scripted=$build/scripted
rm -rf "$shots" "$scripted"
mkdir -p "$shots" "$scripted"
tests/web/linux_game.sh build/web-linux/tests/scripted_window "$shots"

# The page, and the page with the scripted window beside the game, in Chromium.
cp -r "$build/web/." "$build"/tests/scripted_window.{js,wasm} "$scripted"
python3 tests/web/page_test.py "$build/web" "$scripted" "$shots"
