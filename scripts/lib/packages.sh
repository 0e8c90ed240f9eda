# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages given as arguments that are not installed yet.
# Sourced by the scripts in scripts/; uses sudo when not run as root.

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null)" != "installed" ]; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    echo "Installing: ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -qq </dev/null
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

# What building the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
    fonts-liberation)
