#include "app/console.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

constexpr std::string_view LineEnd = "\r\n";

// True when all of text was written.
bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

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
  if (!WriteAll(STDOUT_FILENO, text)) throw EInOutError(ErMsgDiskFull);
}

bool StdConsole::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    char c = 0;
    const ssize_t n = read(STDIN_FILENO, &c, 1);
    if (n < 0) {
      if (errno == EINTR) continue;
      // The message must outlive this frame: strerror's text is static.
      throw EInOutError(std::strerror(errno));
    }
    if (n == 0) return !line.empty();
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

void WriteStdErr(std::string_view text) { WriteAll(STDERR_FILENO, text); }
