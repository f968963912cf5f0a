#include "sensor/sensor_errors.h"

#include <cstdio>

#include "sensor/system_error_text.h"

void ESynaSerError::ComposeMessage() {
  char description[128];
  if (Code == ErrTimeoutCode) {
    std::snprintf(description, sizeof description, "%s", "Timeout during operation");
  } else {
    SystemErrorText(Code, description, sizeof description);
  }
  std::snprintf(Text, sizeof Text, "Communication error %d: %s", Code, description);
}
