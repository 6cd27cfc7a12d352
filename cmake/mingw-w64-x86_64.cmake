# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         "-DCMAKE_PREFIX_PATH=<freeglut prefix>;<gtest prefix>"
#
# The POSIX-thread compilers: GoogleTest needs std::mutex, which the win32
# thread model of GCC 12 does not have.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Libraries and headers come only from the MinGW sysroot and the prefixes
# given, never from the build machine. The prefixes are added to the roots
# because re-rooting would otherwise hide them.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${CMAKE_FIND_ROOT_PATH}
                         ${CMAKE_PREFIX_PATH})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CMAKE_PREFIX_PATH)
