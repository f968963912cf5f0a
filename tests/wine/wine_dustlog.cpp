#include "wine_dustlog.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

std::optional<WineSetupT> WineSetup() {
  const char* exe = std::getenv("DUSTLOG_EXE");
  const char* wine = std::getenv("DUSTLOG_WINE");
  const char* prefix = std::getenv("WINEPREFIX");
  if (exe == nullptr || wine == nullptr || prefix == nullptr || *exe == '\0' || *wine == '\0' ||
      *prefix == '\0') {
    return std::nullopt;
  }
  return WineSetupT{exe, wine, prefix};
}

LaunchT WineLaunch(const WineSetupT& setup, std::initializer_list<std::string> args) {
  LaunchT launch;
  launch.Argv = {setup.Wine, setup.Exe};
  launch.Argv.insert(launch.Argv.end(), args.begin(), args.end());
  launch.Env = {{"WINEDEBUG", "-all"}};
  return launch;
}

ComPortMapping::ComPortMapping(const WineSetupT& setup, int port, const std::string& target)
    : Link(setup.Prefix + "/dosdevices/com" + std::to_string(port)) {
  unlink(Link.c_str());
  if (symlink(target.c_str(), Link.c_str()) != 0) {
    throw std::runtime_error("symlink " + Link + ": " + std::strerror(errno));
  }
}

ComPortMapping::~ComPortMapping() { unlink(Link.c_str()); }

std::optional<uint64_t> ImageBase(const std::string& exePath) {
  std::ifstream file(exePath, std::ios::binary);
  auto read = [&file](std::streamoff at, void* out, std::streamsize size) {
    file.seekg(at);
    return static_cast<bool>(file.read(static_cast<char*>(out), size));
  };
  uint32_t peOffset = 0;
  uint16_t magic = 0;
  uint64_t base = 0;
  // DOS header -> "PE\0\0", the file header (20 bytes), then the optional
  // header: magic 0x20B for PE32+, the image base 24 bytes in.
  constexpr std::streamoff OptionalHeader = 4 + 20;
  if (!read(0x3C, &peOffset, 4) || !read(peOffset + OptionalHeader, &magic, 2) || magic != 0x20B ||
      !read(peOffset + OptionalHeader + 24, &base, 8)) {
    return std::nullopt;
  }
  return base;
}
