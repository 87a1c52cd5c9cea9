# Cross build for Windows with Debian's mingw-w64 (posix threads model), for
# the CMAKE_SYSTEM_PROCESSOR that the including toolchain file names; the
# tests run the programs under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_CXX_COMPILER ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-g++-posix)
set(CMAKE_FIND_ROOT_PATH /usr/${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# wine's own loader of the architecture: the plain "wine" takes the 32-bit one
# whenever it is installed, even for a 64-bit program.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64 AND EXISTS /usr/lib/wine/wine64)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
