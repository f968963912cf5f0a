#pragma once

#include <cstdint>

// Offset of a code address into the module (executable or library) that
// holds it, so that addr2line resolves addresses in the executable wherever
// the system loaded it. code_offset_posix.cpp: from the file's load address;
// code_offset_windows.cpp: from the image base.
uint32_t CodeOffset(const void* address);
