# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when any file under DIR includes a Qt header.
file(GLOB_RECURSE sources "${DIR}/*.h" "${DIR}/*.cpp")
foreach(source IN LISTS sources)
    file(STRINGS "${source}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
    if(hits)
        message(FATAL_ERROR "${source} includes a toolkit header: ${hits}")
    endif()
endforeach()
list(LENGTH sources count)
if(count EQUAL 0)
    message(FATAL_ERROR "no sources found under ${DIR}")
endif()
message(STATUS "${count} files checked, no toolkit include")
