#include "sensor/sensor_errors.h"

#include <cstdio>
#include <cstring>

namespace {

const char* Description(int code) {
  if (code == ErrTimeoutCode) return "Timeout during operation";
  // A code the system has no text for has no description; asking the
  // untranslated table keeps that test independent of LC_MESSAGES.
  if (strerrordesc_np(code) == nullptr) return "";
  return std::strerror(code);  // in the user's language
}

}  // namespace

void ESynaSerError::FormatMessage() {
  std::snprintf(Text, sizeof Text, "Communication error %d: %s", Code, Description(Code));
}
