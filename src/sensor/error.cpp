#include "sensor/error.h"

#include <execinfo.h>

Error::Error(const char* className, const char* message) : Name(className), Text(message) {
  void* raw[MaxFrames + 1];
  const int n = backtrace(raw, MaxFrames + 1);
  // raw[0] lies in this constructor; raw[1] is the raise site.
  for (int i = 1; i < n; ++i) FrameList[Count++] = raw[i];
}

void Error::Prepare() {
  void* raw[1];
  backtrace(raw, 1);
}
