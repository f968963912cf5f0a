#include "dustplot/input_output.h"

#include <cerrno>
#include <cstdio>
#include <vector>

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
  // A file's size, where it has one, saves growing the text step by step.
  const long start = std::ftell(file);
  if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
    const long end = std::ftell(file);
    if (end > start) text.reserve(static_cast<size_t>(end - start));
    std::fseek(file, start, SEEK_SET);
  }
  std::vector<char> chunk(ReadChunk);
  for (;;) {
    errno = 0;
    const size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
    text.append(chunk.data(), got);
    if (got == chunk.size()) continue;
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
