# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the web page together in folder PAGE, afresh: the files SOURCES and the program PROGRAM
# (its .js and the .wasm beside it), and the service worker (sw.js, among SOURCES) with the list
# of the page's files and the page's version, a digest of them all, filled in.
file(REMOVE_RECURSE ${PAGE})
file(MAKE_DIRECTORY ${PAGE})
string(REGEX REPLACE "\\.js$" ".wasm" wasm "${PROGRAM}")
set(names)
set(digests)
foreach(file IN LISTS SOURCES PROGRAM wasm)
    cmake_path(GET file FILENAME name)
    file(COPY_FILE ${file} ${PAGE}/${name} ONLY_IF_DIFFERENT)
    file(SHA256 ${file} digest)
    string(APPEND digests "${digest}")
    if(NOT name STREQUAL "sw.js")
        list(APPEND names "\"${name}\"")
    endif()
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING "${version}" 0 16 PAGE_VERSION)
list(JOIN names ", " PAGE_FILES)
configure_file(${PAGE}/sw.js ${PAGE}/sw.js @ONLY)
