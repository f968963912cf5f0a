#include "sensor/sensor_errors.h"

#include <cstdio>
#include <cstring>

namespace {

const char* Description(int code) {
  if (code == ErrTimeoutCode) return "Timeout during operation";
  // strerror follows LC_MESSAGES; "Unknown error N" never reaches the user as a
  // description, because a code the system has no text for has no description.
  const char* text = std::strerror(code);
  return std::strncmp(text, "Unknown error", 13) == 0 ? "" : text;
}

}  // namespace

void ESynaSerError::FormatMessage() {
  std::snprintf(Text, sizeof Text, "Communication error %d: %s", Code, Description(Code));
}
