# SPDX-License-Identifier: MIT
# Cross-builds quillon-cli and its tests for 64-bit Windows with Debian's MinGW-w64 compiler
# (the posix thread model, which std::thread and GoogleTest need), and runs them with Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# The programs carry their C and C++ runtimes, so they run without any MinGW DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Tests and test discovery run the built programs through Wine, in a locale and a prefix of the
# build's own whatever the caller's environment holds.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/run-with-wine.sh
                                  ${CMAKE_BINARY_DIR}/wine-prefix)

# CLI11 and nlohmann/json are header-only, so Debian's packages of them serve this build too. They
# are offered through a folder of links that holds them alone: searching the whole of /usr would
# let Linux's C headers shadow MinGW's.
set(quillonHeaderOnly ${CMAKE_BINARY_DIR}/header-only-packages/usr)
foreach(link include/CLI include/nlohmann share/cmake/CLI11 share/cmake/nlohmann_json)
    if(NOT EXISTS ${quillonHeaderOnly}/${link} AND EXISTS /usr/${link})
        get_filename_component(parent ${quillonHeaderOnly}/${link} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK /usr/${link} ${quillonHeaderOnly}/${link} SYMBOLIC)
    endif()
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CMAKE_BINARY_DIR}/header-only-packages)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
