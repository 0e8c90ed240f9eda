#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# ./scripts/test --windows: the Windows build and its tests under Wine (tests/windows), beside the
# Linux build's scripted window (README.md); on a Debian older than 13, in a bare Debian 13 root.
# Where the tools, Qt's source or that root cannot be had, it says so on a "SKIPPED:" line and
# exits with status 77.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/packages.sh
source scripts/lib/debian.sh
source scripts/lib/windows.sh
if windows_needs_debian_root; then
    exec scripts/lib/suite_in_debian_root.sh "$WINDOWS_DEBIAN" scripts/lib/windows_suite.sh
fi

packages=("${WINDOWS_PACKAGES[@]}" "${BUILD_PACKAGES[@]}" googletest libgtest-dev libgmock-dev
    qt6-base-private-dev libx11-dev xvfb xauth xdotool imagemagick fonts-liberation
    python3-fonttools dbus)
missing=$(missing_packages "${packages[@]}" | paste -s -d ' ')
[ -z "$missing" ] || [ "$(id -u)" = 0 ] || sudo -n true 2>/dev/null ||
    { echo "SKIPPED: $missing not installed, and installing needs root" >&2; exit 77; }
ensure_packages "${packages[@]}"
start=$(date +%s)
qt=$(windows_qt) || exit
echo "Qt for Windows: $qt ($(($(date +%s) - start))s)"

# The Linux build's scripted window, which the window tests under Wine compare with.
linux=build/windows-linux
cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVLO_BUILD_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$linux" --parallel "$(nproc)" --target scripted_window
start=$(date +%s)
windows_build "$qt" build/windows "-DTAVLO_LINUX_SCRIPTED_WINDOW=$PWD/$linux/tests/scripted_window"
setup=$(windows_installer build/windows)
echo "the Windows build and its installer took $(($(date +%s) - start))s: tavlo.exe" \
    "$(stat -c %s build/windows/installer/tavlo.exe) bytes stripped, the installer" \
    "$(stat -c %s "$setup")"
ctest --test-dir build/windows --output-on-failure --parallel "$(nproc)" --timeout 600
grep -h '^SKIPPED: ' build/windows/Testing/Temporary/LastTest.log >&2 || true
