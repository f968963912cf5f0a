#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "app/console.h"

namespace {

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

bool WriteStdOut(std::string_view text) { return WriteAll(STDOUT_FILENO, text); }

void WriteStdErr(std::string_view text) { WriteAll(STDERR_FILENO, text); }

bool ReadStdIn(char& c) {
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, &c, 1);
    if (n > 0) return true;
    if (n == 0) return false;
    if (errno == EINTR) continue;
    // The message must outlive this frame: strerror's text is static.
    throw EInOutError(std::strerror(errno));
  }
}
