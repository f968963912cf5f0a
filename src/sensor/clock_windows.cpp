#include "sensor/clock.h"

#include <windows.h>

int64_t SystemClock::MonotonicMs() {
  // The performance counter, not GetTickCount64: under wine only this one
  // follows an accelerated clock (faketime), which the tests use.
  static const int64_t frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return static_cast<int64_t>(f.QuadPart);
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  const int64_t ticks = now.QuadPart;
  return ticks / frequency * 1000 + ticks % frequency * 1000 / frequency;
}

LocalTimeT SystemClock::LocalNow() {
  // GetLocalTime applies the zone and daylight-saving rule in force now, so
  // a change while we run reaches the next stamp.
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}
