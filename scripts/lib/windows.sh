# SPDX-License-Identifier: GPL-3.0-or-later
# Tavlo for 64-bit Windows, made on Debian from Debian's packages alone: the mingw-w64 cross
# compiler, a static Qt built once from Debian's own qt6-base source and kept in the cache, Wine
# to run the result and NSIS for the installer. Sourced after packages.sh and debian.sh.

# Qt for Windows, and the program, are built with the machine's own Qt host tools (moc, rcc,
# uic), of the same version. From Qt 6.8 (Debian 13) on, Qt passes its announcement event on to
# Windows screen readers as UI Automation's notification, so that a blind player hears each move.
# On an older Debian, it is all done in a bare root of this release (suite_in_debian_root.sh).
WINDOWS_DEBIAN=13

# Whether this machine's Debian is older than that.
windows_needs_debian_root() { debian_older_than "$WINDOWS_DEBIAN"; }

WINDOWS_PACKAGES=(cmake ninja-build qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64 dpkg-dev wine64 nsis)

# Qt for Windows: static, with the C and C++ run-time libraries inside. The modules a Widgets game
# has no use for are left out. Debian's source has no Wacom tablet headers, hence no tablet
# events.
WINDOWS_QT_CONFIGURE=(-xplatform win32-g++ -qt-host-path /usr -static -static-runtime -release
    -optimize-size -nomake examples -nomake tests -no-feature-tabletevent -no-dbus -no-opengl
    -no-feature-vulkan -no-feature-sql -no-feature-network -no-feature-testlib
    -no-feature-printsupport -no-feature-concurrent -no-feature-xml)

# Prints the folder of Qt for Windows, building it first if the cache has none for this
# machine's qt6-base version, configure line and toolchain file (cached_qt).
windows_qt() {
    local key
    key=$(printf '%s\n' "${WINDOWS_QT_CONFIGURE[*]}" | cat - cmake/mingw-w64.cmake |
        sha256sum | cut -c1-8)
    cached_qt windows "$key" Windows 20-40 windows_qt_build
}

# Builds Qt for Windows into folder $1 in build folder $2.
windows_qt_build() {
    mkdir -p "$1" && cp cmake/mingw-w64.cmake "$1/toolchain.cmake" && cd "$2" &&
        nice -n 10 ../qt6-base-*/configure -prefix "$1" "${WINDOWS_QT_CONFIGURE[@]}" -- \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            "-DCMAKE_TOOLCHAIN_FILE=$1/toolchain.cmake" -G Ninja &&
        nice -n 10 cmake --build . --parallel "$(nproc)" &&
        cmake --install .
}

# Cross-builds everything (the program, its installer, and the tests unless -DBUILD_TESTING=OFF
# is given) in build folder $2 with Qt for Windows in folder $1 and the -D options that follow.
windows_build() {
    local qt=$1 build=$2
    shift 2
    # Debian's Qt leaves out the static plugins' packages, which link Windows' platform plugin
    # into each program: taken in here.
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVLO_BUILD_BENCH=OFF \
        "-DCMAKE_TOOLCHAIN_FILE=$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF "$@" >&2
    nice -n 10 cmake --build "$build" --parallel "$(nproc)" >&2
}

# The path of the installer made in build folder $1 (dist/windows/CMakeLists.txt).
windows_installer() {
    local version
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt")
    echo "$(realpath "$1")/installer/tavlo-$version-setup.exe"
}
