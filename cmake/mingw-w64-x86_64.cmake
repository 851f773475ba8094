# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the POSIX thread model, which
# std::thread and std::mutex need). Usage: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GLOMIE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GLOMIE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLOMIE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GLOMIE_MINGW_PREFIX}-windres)

# Libraries and packages come from the MinGW sysroot and from the prefixes given as
# -DCMAKE_FIND_ROOT_PATH (GoogleTest built for Windows), never from the build machine; programs
# from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${GLOMIE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs need no MinGW DLLs beside them: Wine, or a Windows machine, runs them as they are.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest and test discovery run the programs under Wine.
find_program(GLOMIE_WINE NAMES wine64 wine)
if(GLOMIE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GLOMIE_WINE})
endif()
