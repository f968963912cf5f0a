#include "dustplot/input_output.h"

#include <cerrno>
#include <cstdio>

#include "dustplot/plot_errors.h"

namespace {

constexpr size_t ReadChunk = 1 << 16;  // bytes

}  // namespace

std::string ReadInput(const std::string& path) {
  const bool standard = path == StdStreamName;
  std::FILE* file = standard ? stdin : std::fopen(path.c_str(), "rb");
  const std::string name = standard ? StdinLabel : path;
  if (file == nullptr) throw EFileError(name, errno);
  std::string text;
  for (;;) {
    const size_t old = text.size();
    text.resize(old + ReadChunk);
    errno = 0;
    const size_t got = std::fread(text.data() + old, 1, ReadChunk, file);
    text.resize(old + got);
    if (got == ReadChunk) continue;
    // A directory opens but fails its first read (EISDIR).
    const int error = std::ferror(file) ? (errno != 0 ? errno : EIO) : 0;
    if (!standard) std::fclose(file);
    if (error != 0) throw EFileError(name, error);
    return text;
  }
}

void WriteOutput(const std::string& path, std::string_view text) {
  const bool standard = path == StdStreamName;
  std::FILE* file = standard ? stdout : std::fopen(path.c_str(), "wb");
  const std::string name = standard ? "standard output" : path;
  if (file == nullptr) throw EFileError(name, errno);
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  int error = written ? 0 : errno;
  if (std::fflush(file) != 0 && error == 0) error = errno;
  if (!standard && std::fclose(file) != 0 && error == 0) error = errno;
  // A short write with errno unset still lost data.
  if (!written && error == 0) error = EIO;
  if (error != 0) throw EFileError(name, error);
}
