# Cross-compiles for Windows x64 with Debian's mingw-w64 (posix threads).
# KESTRIX_WIN_DEPS names the folder that holds the cross-built Qt and PCRE2.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)

if(NOT KESTRIX_WIN_DEPS AND DEFINED ENV{KESTRIX_WIN_DEPS})
  set(KESTRIX_WIN_DEPS "$ENV{KESTRIX_WIN_DEPS}")
endif()
# With the ONLY modes below, dependency prefixes must be listed here, not in
# CMAKE_PREFIX_PATH, which would be re-rooted and find nothing.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${KESTRIX_WIN_DEPS}/qt ${KESTRIX_WIN_DEPS}/pcre2 ${KESTRIX_WIN_DEPS}/openssl)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
