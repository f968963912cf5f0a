#include "sensor/error.h"

#include <execinfo.h>

Error::Error(const char* className, const char* message) : Name(className), Text(message) {
  void* raw[MaxFrames + 2];
  const int n = backtrace(raw, MaxFrames + 2);
  // The raise site is where this constructor returns to: raw[1] with glibc's
  // backtrace, one further with the sanitizers' interposed one.
  const void* const site = __builtin_return_address(0);
  int first = 1;
  for (int i = 0; i < n; ++i) {
    if (raw[i] == site) {
      first = i;
      break;
    }
  }
  for (int i = first; i < n && Count < MaxFrames; ++i) FrameList[Count++] = raw[i];
}

void Error::Prepare() {
  void* raw[1];
  backtrace(raw, 1);
}
