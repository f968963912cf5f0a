#include "sensor/clock.h"

#include <windows.h>

int64_t SystemClock::MonotonicMs() { return static_cast<int64_t>(GetTickCount64()); }

LocalTimeT SystemClock::LocalNow() {
  // GetLocalTime applies the zone and daylight-saving rule in force now, so
  // a change while we run reaches the next stamp.
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}
