# Cross build for ARM Linux with Debian's cross compiler of the GNU triplet
# that the including toolchain file names. The programs are linked
# statically, so they run on any ARM Linux of their architecture (Raspberry Pi
# OS, Android); the tests run them under qemu's user-mode emulator on the CPU
# that the toolchain file names.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${PELKO_TRIPLET}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${PELKO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PELKO_QEMU} -cpu ${PELKO_QEMU_CPU})
