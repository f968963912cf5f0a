#include "app/unhandled_error.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include <dlfcn.h>

#include "app/console.h"

namespace {

// Offset of a code address into the file that holds it, so that
// `addr2line -e dustlog` resolves addresses in the executable.
uint32_t FileOffset(const void* address) {
  Dl_info info{};
  auto raw = reinterpret_cast<uintptr_t>(address);
  if (dladdr(address, &info) != 0 && info.dli_fbase != nullptr) {
    raw -= reinterpret_cast<uintptr_t>(info.dli_fbase);
  }
  return static_cast<uint32_t>(raw);
}

std::string Hex(const void* address) {
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", FileOffset(address));
  return text;
}

void Report(const char* className, const char* message, const void* const* frames, int count) {
  std::string text =
      "An unhandled exception occurred at " + (count > 0 ? Hex(frames[0]) : "$00000000") + ":\r\n";
  text += std::string(className) + ": " + message + "\r\n";
  for (int i = 0; i < count; ++i) text += "  " + Hex(frames[i]) + "\r\n";
  text += "\r\n";
  WriteStdErr(text);
}

}  // namespace

void ReportUnhandled(const Error& error) {
  Report(error.ClassName(), error.Message(), error.Frames(), error.FrameCount());
}

void ReportUnhandled(const char* className, const char* message) { Report(className, message, nullptr, 0); }
