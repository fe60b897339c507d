# The one switch for platform code: VERLO_PLATFORM picks, for every seam declared in
# scanner/platform/*.h, the file that implements it.
#   linux     Linux's own calls (getdents64, statx, pidfd_open, renameat2, /proc), freedesktop Trash
#   macos     the portable calls, libproc's process list and the platform's own Trash
#   portable  the calls every POSIX system has, with the freedesktop Trash: built on Linux, it
#             compiles and tests here the branches other systems take (make test-portable)
# Empty: the system being built for. VERLO_PORTABLE_BRANCHES=ON is the older name of portable.
set(VERLO_PLATFORM "" CACHE STRING "Platform code to build: linux, macos or portable")
set_property(CACHE VERLO_PLATFORM PROPERTY STRINGS "" linux macos portable)
option(VERLO_PORTABLE_BRANCHES "Build the portable platform code (VERLO_PLATFORM=portable)" OFF)
if(VERLO_PORTABLE_BRANCHES)
    set(VERLO_PLATFORM portable)
elseif(NOT VERLO_PLATFORM)
    if(APPLE)
        set(VERLO_PLATFORM macos)
    elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
        set(VERLO_PLATFORM linux)
    else()
        set(VERLO_PLATFORM portable)
    endif()
endif()
if(NOT VERLO_PLATFORM MATCHES "^(linux|macos|portable)$")
    message(FATAL_ERROR "VERLO_PLATFORM must be linux, macos or portable, not ${VERLO_PLATFORM}")
endif()
message(STATUS "Platform code: ${VERLO_PLATFORM}")

set(_platform ${PROJECT_SOURCE_DIR}/scanner/platform)
# Each platform's implementation of each seam.
set(VERLO_POSIX_CALLS
    ${_platform}/posix/FolderListing.cpp
    ${_platform}/posix/ProcessCalls.cpp
    ${_platform}/posix/RenameCalls.cpp
    ${_platform}/posix/ThreadTimes.cpp)
set(VERLO_FREEDESKTOP_TRASH
    ${_platform}/freedesktop/TrashFreedesktop.cpp
    ${_platform}/freedesktop/TrashPutBack.cpp)
set(VERLO_MACOS_TRASH
    ${_platform}/macos/TrashMac.cpp
    ${_platform}/macos/TrashPutBack.cpp)
set(VERLO_PLATFORM_SOURCES_linux
    ${_platform}/linux/FolderListing.cpp
    ${_platform}/linux/ProcessCalls.cpp
    ${_platform}/linux/RenameCalls.cpp
    ${_platform}/linux/ThreadTimes.cpp
    ${_platform}/posix/ProcessList.cpp
    ${_platform}/posix/ResourceUsage.cpp
    ${VERLO_FREEDESKTOP_TRASH})
set(VERLO_PLATFORM_SOURCES_portable
    ${VERLO_POSIX_CALLS}
    ${_platform}/posix/ProcessList.cpp
    ${_platform}/posix/ResourceUsage.cpp
    ${VERLO_FREEDESKTOP_TRASH})
set(VERLO_PLATFORM_SOURCES_macos
    ${VERLO_POSIX_CALLS}
    ${_platform}/macos/ProcessList.cpp
    ${_platform}/macos/ResourceUsage.cpp
    ${VERLO_MACOS_TRASH})
set(VERLO_PLATFORM_SOURCES ${VERLO_PLATFORM_SOURCES_${VERLO_PLATFORM}})
# The rename the Trash uses, on its own for a test that builds another platform's Trash.
if(VERLO_PLATFORM STREQUAL "linux")
    set(VERLO_PLATFORM_RENAME ${_platform}/linux/RenameCalls.cpp)
else()
    set(VERLO_PLATFORM_RENAME ${_platform}/posix/RenameCalls.cpp)
endif()
unset(_platform)
