# SPDX-License-Identifier: GPL-3.0-or-later
# Tavlo as a web page, made on Debian from Debian's packages alone: Emscripten (with its system
# libraries prebuilt), a static Qt for WebAssembly built once from Debian's own qt6-base source
# and kept in the cache, and Chromium to test the page in. Sourced by scripts/test,
# scripts/package and scripts/run, after scripts/lib/packages.sh and scripts/lib/debian.sh.

# Qt 6 needs a newer Emscripten than Debian 12's (3.1.6): Debian 13 has 3.1.69, with Qt 6.8. On
# an older Debian, all that is done for the web is done in a bare root of this release
# (scripts/lib/suite_in_debian_root.sh), and what it builds lands in build/debian-<codename>.
WEB_DEBIAN=13

# Whether this machine's Debian is older than that.
web_needs_debian_root() { debian_older_than "$WEB_DEBIAN"; }

WEB_PACKAGES=(emscripten cmake ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev
    fonts-liberation)

# Qt for WebAssembly: static, as a page loads one .wasm. Without threads, so that any plain
# static file server can serve the page (threads need cross-origin isolation headers). The
# modules a Widgets game has no use for are left out.
WEB_QT_CONFIGURE=(-platform wasm-emscripten -qt-host-path /usr -static -release -optimize-size
    -nomake examples -nomake tests -no-feature-network -no-feature-sql -no-feature-testlib
    -no-feature-printsupport -no-feature-concurrent -no-feature-xml -no-dbus -no-feature-thread)

# Debian's Emscripten, where Qt looks for it.
export EMSDK=/usr/share/emscripten

# Prints the folder of Qt for WebAssembly, building it first (25 to 50 minutes on two cores) if
# the cache has none for this machine's qt6-base and emscripten versions and configure line.
web_qt() {
    local key
    key=$(printf '%s\n' "${WEB_QT_CONFIGURE[*]}" "$(dpkg-query -W -f='${Version}' emscripten)" |
        sha256sum | cut -c1-8)
    cached_qt web "$key" WebAssembly 25-50 web_qt_build
}

# Builds Qt for WebAssembly into folder $1 in build folder $2, next to Qt's source. Qt recommends
# its own Emscripten version, and goes on with Debian's after a warning.
web_qt_build() {
    cd "$2" &&
        nice -n 19 ../qt6-base-*/configure -prefix "$1" "${WEB_QT_CONFIGURE[@]}" -- \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -G Ninja &&
        nice -n 19 cmake --build . --parallel "${TAVLO_JOBS:-2}" &&
        cmake --install .
}

# Builds, in build folder $2 with Qt for WebAssembly in folder $1, the targets given after any -D
# options for CMake.
web_build() {
    local qt=$1 build=$2 options=()
    shift 2
    while [[ ${1:-} == -D* ]]; do
        options+=("$1")
        shift
    done
    # Debian's Qt leaves out the static plugins' packages, which link the web's platform plugin
    # into each program: taken in here.
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVLO_BUILD_BENCH=OFF \
        "-DCMAKE_TOOLCHAIN_FILE=$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF "${options[@]}" >&2
    nice -n 19 cmake --build "$build" --parallel "${TAVLO_JOBS:-2}" --target "$@" >&2
}

# Builds the web page in build folder $1 and prints the path of its folder.
web_page() {
    local qt
    ensure_packages "${WEB_PACKAGES[@]}" >&2
    qt=$(web_qt) || return
    web_build "$qt" "$1" -DBUILD_TESTING=OFF web_page
    realpath "$1/web"
}

# Prints the weight of the page in folder $1: each file's bytes, and all of them, plain and
# compressed as a web server would send them (gzip -9).
web_weight() {
    local file
    for file in "$1"/*; do
        echo "$(basename "$file") $(stat -c %s "$file") $(gzip -9 -c "$file" | wc -c)"
    done | awk 'BEGIN { printf "%-24s %10s %10s\n", "file", "bytes", "gzip" }
        { printf "%-24s %10d %10d\n", $1, $2, $3; plain += $2; packed += $3 }
        END { printf "%-24s %10d %10d\n", "the page", plain, packed }'
}
