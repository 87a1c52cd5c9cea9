# Pelko_2_armhf: 32-bit ARM (ARMv7-A, hard float), tested on the CPU of a Raspberry Pi 2.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(PELKO_TRIPLET arm-linux-gnueabihf)
set(PELKO_QEMU qemu-arm)
set(PELKO_QEMU_CPU cortex-a7)
include(${CMAKE_CURRENT_LIST_DIR}/linux-arm.cmake)
