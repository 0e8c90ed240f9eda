# SPDX-License-Identifier: GPL-3.0-or-later
# 64-bit Arm Linux (Debian's arm64: the Raspberry Pi 3 to 5 and other aarch64 machines) with
# Debian's cross compilers (crossbuild-essential-arm64), in a root with arm64 as a foreign
# architecture: Qt and the other libraries are the root's arm64 packages (qt6-base-dev:arm64),
# in their multiarch folders, and Qt's tools (moc, rcc, uic) are the machine's own.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# The whole root, which CMake searches with the multiarch folders of the target
# (/usr/lib/aarch64-linux-gnu); the machine's programs, never its libraries or headers.
set(CMAKE_FIND_ROOT_PATH /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${CMAKE_HOST_SYSTEM_PROCESSOR}-linux-gnu/cmake)
# The programs run under qemu's user-mode emulator with the root's arm64 loader and libraries:
# the tests' discovery and ctest's C++ tests (the test scripts get it as TAVLO_EMULATOR).
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)
