# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian releases Tavlo supports, bare roots of them made with mmdebstrap from the Debian
# archive this machine's apt uses, and the making of Debian packages. Sourced by the scripts.

# Version:codename, oldest first. A package built on one release installs on the later ones.
DEBIAN_RELEASES=(12:bookworm 13:trixie)
# Debian testing, the next release: the suite runs there too (scripts/test --debian forky), but
# no package is made for it, as it is a moving target.
DEBIAN_TESTING=14:forky

# The codename of Debian release $1 (a version or a codename); fails for one not supported.
debian_codename() {
    local release
    for release in "${DEBIAN_RELEASES[@]}" "$DEBIAN_TESTING"; do
        [[ :$release: != *":$1:"* ]] || { echo "${release#*:}" && return 0; }
    done
    return 1
}

# The codename of the release this machine runs.
host_codename() { (. /etc/os-release && echo "${VERSION_CODENAME:-}"); }

# Whether this machine's Debian is older than release $1 (Debian testing has no version number).
debian_older_than() {
    local version
    version=$(. /etc/os-release && echo "${VERSION_ID:-}")
    [ -n "$version" ] && [ "${version%%.*}" -lt "$1" ]
}

# The supported releases from this machine's own on, by codename: where a package built here
# installs.
debian_codenames_from_host() {
    printf '%s\n' "${DEBIAN_RELEASES[@]#*:}" | sed -n "/^$(host_codename)\$/,\$p"
}

# Apt source lines ("deb URI suite component") for release $1: the archives this machine's apt
# uses for its own release, its updates and security suites (apt-get indextargets), with release
# $1's codename put in. So every root comes from the mirrors the administrator chose, and no other
# vendor's packages can hide a missing dependency. Prints nothing where apt names no archive.
debian_sources() {
    local host uri suite component
    host=$(host_codename)
    apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' |
        sort -u | while read -r uri suite component; do
        case $suite in
        "$host" | "$host-updates" | "$host-security") echo "deb $uri $1${suite#"$host"} $component" ;;
        esac
    done
}

# Why no root of release $1 can be made from Debian's archive here, or nothing when one can: it
# needs an archive named by this machine's apt sources, and an answer from it. $2 is a scratch
# folder.
debian_archive_unavailable() {
    local uri suite probe
    read -r _ uri suite _ <<<"$(debian_sources "$1" | grep -v -e -security -e -updates | head -n1)"
    if [ -z "${uri:-}" ]; then
        echo "this machine's apt sources name no Debian archive of its own release" \
            "($(host_codename)) to take Debian $1 from"
    elif ! probe=$(/usr/lib/apt/apt-helper -o Acquire::Retries=0 -o Acquire::http::Timeout=10 \
        -o APT::Sandbox::User="$(id -un)" download-file "${uri%/}/dists/$suite/Release" \
        "$2/Release" 2>&1); then
        echo "Debian's archive does not answer ($uri $suite): $probe"
    fi
}

# Makes a bare root of release $1 in folder $2 (or tarball, by its name) from the sources
# debian_sources gives, with mmdebstrap's options that follow (customize hooks, say); it logs to
# $2.log. Downloads are kept in folder $3 between runs, which takes only what this run used. Run
# by root, mmdebstrap ($MMDEBSTRAP, or found on the PATH) runs in a mount namespace of its own, so
# that its mounts go with it; by another user, in the user namespace it makes itself.
debian_root_pid=
make_debian_root() {
    local codename=$1 root=$2 cache=$3 status=0 sources=() testing=() ns=()
    shift 3
    mapfile -t sources < <(debian_sources "$codename")
    # Debian testing's archive may be served with a Release file past its Valid-Until date, which
    # apt then refuses: accepted for testing alone, never for a release.
    [ "$codename" != "${DEBIAN_TESTING#*:}" ] ||
        testing=(--aptopt='Acquire::Check-Valid-Until "false"')
    mkdir -p "$cache"
    rm -rf "$cache.new"
    [ "$(id -u)" != 0 ] || ns=(unshare --mount --)
    # In a session of its own, which stop_debian_root ends whole.
    setsid "${ns[@]}" "${MMDEBSTRAP:-mmdebstrap}" --variant=apt --skip=essential/unlink \
        "${testing[@]}" --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
        --setup-hook="sync-in '$cache' /var/cache/apt/archives" \
        "$@" \
        --customize-hook="sync-out /var/cache/apt/archives '$cache.new'" \
        "$codename" "$root" "${sources[@]}" >"$root.log" 2>&1 </dev/null &
    debian_root_pid=$!
    wait "$debian_root_pid" || status=$?
    debian_root_pid=
    [ "$status" = 0 ] || return 1
    rm -rf "$cache"
    mv "$cache.new" "$cache"
    # Run through sudo, the folder still belongs to whoever asked for it.
    [ -z "${SUDO_UID:-}" ] || chown -R "$SUDO_UID:$SUDO_GID" "$cache"
}

# Stops a root still being made, for a caller's clean-up.
stop_debian_root() {
    [ -n "$debian_root_pid" ] || return 0
    kill -- "-$debian_root_pid" 2>/dev/null
    wait "$debian_root_pid" 2>/dev/null
    debian_root_pid=
}

# Where downloads are kept between runs, whoever runs the scripts: a clean clone starts with an
# empty build folder, so they are kept outside it.
tavlo_cache() {
    local home=$HOME
    # Through sudo, HOME is root's; the cache stays the caller's.
    [ -z "${SUDO_USER:-}" ] || home=$(getent passwd "$SUDO_USER" | cut -d: -f6)
    echo "${TAVLO_CACHE:-${XDG_CACHE_HOME:-$home/.cache}/tavlo}"
}

# Fetches the source of Debian's qt6-base, version $2, into folder $1 with `apt-get source`, from
# debian_sources' archives through a private source list, leaving the system's apt setup as it
# is; apt's output goes to file $3. Where it cannot be had, it says so on a "SKIPPED:" line and
# returns 77.
qt_source() {
    local build=$1 version=$2 log=$3
    mkdir -p "$build/apt/lists/partial"
    debian_sources "$(host_codename)" | sed 's/^deb /deb-src /' >"$build/apt/sources.list"
    local apt=(-o "Dir::Etc::SourceList=$build/apt/sources.list" -o Dir::Etc::SourceParts=-
        -o "Dir::State::Lists=$build/apt/lists" -o Dir::Cache::pkgcache=
        -o Dir::Cache::srcpkgcache= -o APT::Sandbox::User=root)
    {
        apt-get "${apt[@]}" update &&
            (cd "$build" && apt-get "${apt[@]}" source "qt6-base=$version")
    } </dev/null >"$log" 2>&1 || {
        echo "SKIPPED: Qt's source (qt6-base $version) could not be had from Debian's" \
            "archive: $(tail -n 2 "$log")" >&2
        return 77
    }
}

# Prints the folder of Qt built for platform $1 in the cache, building it first, under a lock,
# where the cache has none for this machine's qt6-base version and key $2: Qt's source in a
# scratch folder (qt_source), then command $5... given Qt's folder and an empty build folder next
# to the source, with its output in a log kept next to Qt's folder. $3 names the platform, $4 the
# minutes building takes. Returns 77 where Qt's source cannot be had.
cached_qt() {
    local version dir qt build log
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    dir=$(tavlo_cache)/$1
    qt=$dir/qt-$version-$2
    [ -f "$qt/.complete" ] && { echo "$qt"; return 0; }
    mkdir -p "$dir"
    (
        flock 9
        [ -f "$qt/.complete" ] && exit 0
        build=$dir/qt-build-$version-$2
        log=$qt.log
        echo "Building Qt $version for $3 into $qt ($4 min; log: $log)" >&2
        rm -rf "$build" "$qt"
        qt_source "$build" "$version" "$log" || exit
        { mkdir "$build/out" && "${@:5}" "$qt" "$build/out"; } </dev/null >>"$log" 2>&1 || {
            echo "building Qt for $3 failed; the end of $log:" >&2
            tail -n 30 "$log" >&2
            exit 1
        }
        rm -rf "$build"
        touch "$qt/.complete"
    ) 9>"$dir/.lock" || return
    echo "$qt"
}

# Runs command $2... in a bare root of Debian release $1 (suite_in_debian_root.sh) and prints the
# path it printed as it is here: the root's copy of this tree builds in build/debian-<codename>.
debian_root_path() {
    local out status=0 builds
    out=$(scripts/lib/suite_in_debian_root.sh "$@") || status=$?
    builds=$(realpath "build/debian-$(debian_codename "$1")")
    case $out in
    */tavlo/build/*) echo "$builds/${out#*/tavlo/build/}" ;;
    *) [ -z "$out" ] || echo "$out" >&2 ;;
    esac
    return "$status"
}

# Configures build folder $1 (Release) with the -D options that follow and Debian's compiler and
# linker flags for packages, every hardening feature on; given on every configure, as the cache
# would otherwise keep older ones.
debian_configure() {
    local build=$1
    local -x DEB_BUILD_MAINT_OPTIONS=hardening=+all
    shift
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" "$@" >&2
}

# Packs build folder $1 into a .deb, in a fresh folder $1/deb so that a package of an earlier
# version never sits next to it, and prints its path. dpkg-shlibdeps (dpkg-dev) and file let
# cpack work out the libraries the package depends on.
debian_package() {
    local debs
    rm -rf "$1/deb"
    cpack --config "$1/CPackConfig.cmake" -G DEB -B "$1/deb" >&2
    debs=("$1"/deb/*.deb)
    [ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] ||
        { echo "FAIL: cpack made no single .deb in $1/deb" >&2; return 1; }
    realpath "${debs[0]}"
}
