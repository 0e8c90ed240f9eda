# SPDX-License-Identifier: GPL-3.0-or-later
# Installs Debian packages, and gives the user subordinate ids; sourced by the scripts, it uses
# sudo when not run as root.

as_root=()
[ "$(id -u)" = 0 ] || as_root=(sudo)

# The packages given that are not installed, one a line.
missing_packages() {
    local pkg
    for pkg in "$@"; do
        [ "$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null)" = installed ] || echo "$pkg"
    done
}

ensure_packages() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing: ${missing[*]}" >&2
    "${as_root[@]}" apt-get update -qq </dev/null
    # (Through sudo too: it would drop the variable from the environment.)
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

# What building the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-liberation)

# Gives the user who runs the scripts a range of subordinate user and group ids, as Debian gives
# each new user, past every range given so far: the package test's roots run in user namespaces
# (autopkgtest-virt-unshare), as root too.
ensure_subids() {
    local user start
    user=$(id -un)
    grep -q "^$user:" /etc/subuid 2>/dev/null && grep -q "^$user:" /etc/subgid 2>/dev/null && return 0
    start=$(cat /etc/subuid /etc/subgid 2>/dev/null |
        awk -F: '$2 + $3 > n { n = $2 + $3 } END { print (n > 100000 ? n : 100000) }')
    echo "Giving $user the subordinate ids $start-$((start + 65535))" >&2
    "${as_root[@]}" usermod --add-subuids "$start-$((start + 65535))" \
        --add-subgids "$start-$((start + 65535))" "$user"
}
