#include "sensor/system_error_text.h"

#include <cstdio>
#include <cstring>

void SystemErrorText(int code, char* text, size_t size) {
  // A code the system has no text for has no description; asking the
  // untranslated table keeps that test independent of LC_MESSAGES.
  const char* description =
      strerrordesc_np(code) == nullptr ? "" : std::strerror(code);  // in the user's language
  std::snprintf(text, size, "%s", description);
}
