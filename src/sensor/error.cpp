#include "sensor/error.h"

void Error::KeepFrames(const void* site, void* const* raw, int n) {
  int first = 1;
  for (int i = 0; i < n; ++i) {
    if (raw[i] == site) {
      first = i;
      break;
    }
  }
  for (int i = first; i < n && Count < MaxFrames; ++i) FrameList[Count++] = raw[i];
}
