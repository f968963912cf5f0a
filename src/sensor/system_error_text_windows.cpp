#include "sensor/system_error_text.h"

#include <windows.h>

void SystemErrorText(int code, char* text, size_t size) {
  if (size == 0) return;
  text[0] = '\0';
  wchar_t wide[256];
  // Language 0: the user's language, falling back as the system does.
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(code), 0, wide, sizeof wide / sizeof wide[0], nullptr);
  if (length == 0) return;
  // In the code page the console shows, so accented texts read right there.
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = GetACP();
  const int bytes = WideCharToMultiByte(codePage, 0, wide, static_cast<int>(length), text,
                                        static_cast<int>(size - 1), nullptr, nullptr);
  if (bytes <= 0) {
    text[0] = '\0';
    return;
  }
  // System texts end in a line break; one is removed.
  int end = bytes;
  if (end > 0 && text[end - 1] == '\n') --end;
  if (end > 0 && text[end - 1] == '\r') --end;
  text[end] = '\0';
}
