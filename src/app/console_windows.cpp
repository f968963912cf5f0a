#include <windows.h>

#include "app/console.h"
#include "sensor/system_error_text.h"

namespace {

HANDLE StdHandle(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle == nullptr ? INVALID_HANDLE_VALUE : handle;
}

// WriteFile, not the C runtime: its text mode would turn "\r\n" into "\r\r\n".
bool WriteAll(HANDLE handle, std::string_view text) {
  if (handle == INVALID_HANDLE_VALUE) return false;
  while (!text.empty()) {
    const DWORD chunk = text.size() > 0x10000 ? 0x10000 : static_cast<DWORD>(text.size());
    DWORD written = 0;
    if (!WriteFile(handle, text.data(), chunk, &written, nullptr) || written == 0) return false;
    text.remove_prefix(written);
  }
  return true;
}

[[noreturn]] void RaiseReadError(DWORD code) {
  // The message must outlive this frame.
  static char text[128];
  SystemErrorText(static_cast<int>(code), text, sizeof text);
  throw EInOutError(text);
}

}  // namespace

bool WriteStdOut(std::string_view text) { return WriteAll(StdHandle(STD_OUTPUT_HANDLE), text); }

void WriteStdErr(std::string_view text) { WriteAll(StdHandle(STD_ERROR_HANDLE), text); }

bool ReadStdIn(char& c) {
  const HANDLE input = StdHandle(STD_INPUT_HANDLE);
  if (input == INVALID_HANDLE_VALUE) RaiseReadError(ERROR_INVALID_HANDLE);
  for (;;) {
    DWORD got = 0;
    SetLastError(ERROR_SUCCESS);
    if (!ReadFile(input, &c, 1, &got, nullptr)) {
      const DWORD code = GetLastError();
      // A pipe whose writer has gone is at its end.
      if (code == ERROR_BROKEN_PIPE) return false;
      RaiseReadError(code);
    }
    if (got == 1) return true;
    // Ctrl-C at a console prompt ends a read this way while the system's
    // handler ends the process: read again, as after EINTR.
    if (GetLastError() == ERROR_OPERATION_ABORTED) continue;
    return false;
  }
}
