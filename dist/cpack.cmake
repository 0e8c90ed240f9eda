# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built by cpack from whatever `cmake --install` puts in place.

set(TAVLO_PACKAGE_MAINTAINER "Tavlo developers <tavlo@users.noreply.github.com>" CACHE STRING
    "Maintainer of the Debian package, as 'name <email>'")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavlo)
set(CPACK_PACKAGE_VENDOR "The Tavlo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The synopsis above comes first; these lines follow it as they are, so they stay short.
set(CPACK_PACKAGE_DESCRIPTION [=[
Choose how many play, type your names, and take turns rolling the die,
with a click or from the keyboard: the token walks square by square,
ladders lift it and give another roll, snakes drop it, and the first to
reach square 100 wins. New Game starts again with the same players.]=])
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/tavlo/tavlo")
set(CPACK_PACKAGE_CONTACT "${TAVLO_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
# A umask of the packaging machine must not leak into the package's folders.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVLO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CPACK_PACKAGE_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# The newest entry of the Debian changelog (installed as changelog.Debian.gz) names the package's
# version: a new version without its entry stops here, before a package claims otherwise.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog changelog_head LIMIT_COUNT 1)
set(deb_version ${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
if(NOT changelog_head MATCHES "^tavlo \\(([^)]*)\\) " OR NOT CMAKE_MATCH_1 STREQUAL deb_version)
    message(FATAL_ERROR "dist/changelog starts with '${changelog_head}', "
                        "not with an entry for version ${deb_version}")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps names the libraries the program links, with their minimum versions: the Qt 6
# runtime, and the C++ runtime (plus the sanitizer runtimes in a sanitizer build).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no linker records: the window asks for Arial, which fontconfig maps to Liberation Sans
# with the same letter widths, so the labels fit their places. (Qt's X11 platform plugin comes
# with libqt6gui6, which dpkg-shlibdeps already names.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# Qt's Wayland platform plugin: with it the game runs natively in a Wayland session, without it
# only through Xwayland (or on X11). Recommended rather than required, so that a minimal install
# can leave it out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/")

include(CPack)
