#include "sensor/clock.h"

#include <ctime>

int64_t SystemClock::MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t{ts.tv_sec} * 1000 + ts.tv_nsec / 1'000'000;
}

LocalTimeT SystemClock::LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  // localtime_r does not re-read the time zone: a zone changed while we run
  // (TZ, /etc/localtime) would otherwise never reach the stamps.
  tzset();
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}
