#include "app/console.h"

#include <cstring>

namespace {

constexpr std::string_view LineEnd = "\r\n";

}  // namespace

void Console::WriteLine(std::string_view text) {
  // One write per line when it fits, so a reader never sees half a line.
  char buffer[256];
  if (text.size() + LineEnd.size() <= sizeof buffer) {
    std::memcpy(buffer, text.data(), text.size());
    std::memcpy(buffer + text.size(), LineEnd.data(), LineEnd.size());
    Write({buffer, text.size() + LineEnd.size()});
  } else {
    Write(text);
    Write(LineEnd);
  }
}

void StdConsole::Write(std::string_view text) {
  if (!WriteStdOut(text)) throw EInOutError(ErMsgDiskFull);
}

bool StdConsole::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    char c = 0;
    if (!ReadStdIn(c)) return !line.empty();
    if (SkipLf) {
      SkipLf = false;
      if (c == '\n') continue;
    }
    if (c == '\r') {
      SkipLf = true;
      return true;
    }
    if (c == '\n') return true;
    if (line.size() <= MaxLineKept) line.push_back(c);
  }
}
