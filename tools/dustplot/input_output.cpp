#include "dustplot/input_output.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "dustplot/plot_errors.h"

namespace {

constexpr size_t ReadChunk = 1 << 16;  // bytes

void ReserveRest(std::FILE* file, std::string& text, size_t read) {
  const long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return;
  const long end = std::ftell(file);
  std::fseek(file, here, SEEK_SET);
  if (end > here) text.reserve(read + static_cast<size_t>(end - here));
}

}  // namespace

std::string ReadInput(const std::string& path) {
  const bool standard = path == StdStreamName;
  std::FILE* file = standard ? stdin : std::fopen(path.c_str(), "rb");
  const std::string name = standard ? StdinLabel : path;
  if (file == nullptr) throw EFileError(name, errno);
  std::string text;
  std::vector<char> chunk(ReadChunk);
  for (bool first = true;; first = false) {
    errno = 0;
    const size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
    if (got == chunk.size()) {
      // A large file's size, where it has one, saves growing the text step by step.
      // Asked only after a read succeeded: a directory's end says nothing of a size.
      if (first) ReserveRest(file, text, got);
      text.append(chunk.data(), got);
      continue;
    }
    text.append(chunk.data(), got);
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
