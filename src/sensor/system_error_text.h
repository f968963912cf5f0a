#pragma once

#include <cstddef>

// The system's own text for an error number, in the user's language, into
// text (always terminated); "" when the system has none.
// system_error_text_posix.cpp: errno values; system_error_text_windows.cpp:
// GetLastError values.
void SystemErrorText(int code, char* text, size_t size);
