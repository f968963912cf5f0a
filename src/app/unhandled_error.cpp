#include "app/unhandled_error.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/code_offset.h"
#include "app/console.h"

namespace {

std::string Hex(const void* address) {
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", CodeOffset(address));
  return text;
}

}  // namespace

void ReportUnhandled(const Error& error) {
  ReportUnhandled(error.ClassName(), error.Message(), error.Frames(), error.FrameCount());
}

void ReportUnhandled(const char* className, const char* message) {
  ReportUnhandled(className, message, nullptr, 0);
}

void ReportUnhandled(const char* className, const char* message, const void* const* frames, int count) {
  std::string text =
      "An unhandled exception occurred at " + (count > 0 ? Hex(frames[0]) : "$00000000") + ":\r\n";
  text += std::string(className) + ": " + message + "\r\n";
  for (int i = 0; i < count; ++i) text += "  " + Hex(frames[i]) + "\r\n";
  text += "\r\n";
  WriteStdErr(text);
}
