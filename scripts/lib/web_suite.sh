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

packages=("${WEB_PACKAGES[@]}")
if [ "$(id -u)" != 0 ] && ! sudo -n true 2>/dev/null; then
    for pkg in "${packages[@]}"; do
        [ "$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null)" = installed ] ||
            { echo "SKIPPED: $pkg is not installed, and installing it needs root" >&2; exit 77; }
    done
fi
ensure_packages "${packages[@]}"
start=$(date +%s)
qt=$(web_qt) || exit
echo "Qt for WebAssembly: $qt ($(($(date +%s) - start))s)"
