# Cross build for 64-bit ARM Linux (Raspberry Pi OS, Debian arm64) with
# Debian's g++-aarch64-linux-gnu. Test programs run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(DUSTLOG_TARGET_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${DUSTLOG_TARGET_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${DUSTLOG_TARGET_TRIPLE}-g++)

# Debian's cross libraries live here; host libraries must never be picked up.
set(DUSTLOG_TARGET_SYSROOT /usr/${DUSTLOG_TARGET_TRIPLE})
set(CMAKE_FIND_ROOT_PATH ${DUSTLOG_TARGET_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -L points the emulated loader at the cross C and C++ libraries.
find_program(DUSTLOG_QEMU_AARCH64 qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${DUSTLOG_QEMU_AARCH64} -L ${DUSTLOG_TARGET_SYSROOT})
