# Cross-compiles dustlog.exe for 64-bit Windows with Debian's MinGW-w64
# (package g++-mingw-w64-x86-64-posix); tests run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix thread variant: the win32 one has no std::thread, which GoogleTest uses.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file that imports only system DLLs: the C++ and GCC runtimes are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs the test programs through wine; Debian keeps wine64 off PATH.
find_program(DUSTLOG_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(DUSTLOG_WINE NAMES wine64 wine)
if(DUSTLOG_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DUSTLOG_WINE})
endif()
