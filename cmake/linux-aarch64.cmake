# Pelko_2_arm64: 64-bit ARM (ARMv8-A), tested on the CPU of a Raspberry Pi 3.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(PELKO_TRIPLET aarch64-linux-gnu)
set(PELKO_QEMU qemu-aarch64)
set(PELKO_QEMU_CPU cortex-a53)
include(${CMAKE_CURRENT_LIST_DIR}/linux-arm.cmake)
