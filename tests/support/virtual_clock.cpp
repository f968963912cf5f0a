#include "support/virtual_clock.h"

#include <ctime>

LocalTimeT VirtualClock::LocalNow() {
  // Calendar arithmetic through timegm/gmtime keeps month and year rollover right.
  std::tm tm{};
  tm.tm_year = Origin.Year - 1900;
  tm.tm_mon = Origin.Month - 1;
  tm.tm_mday = Origin.Day;
  tm.tm_hour = Origin.Hour;
  tm.tm_min = Origin.Minute;
  tm.tm_sec = Origin.Second;
  const int64_t totalMs = NowMs + WallOffsetMs;
  // Floor division: the stamp drops milliseconds, never rounds them up.
  const int64_t seconds = totalMs >= 0 ? totalMs / 1000 : -((-totalMs + 999) / 1000);
  const std::time_t t = timegm(&tm) + seconds;
  std::tm out{};
  gmtime_r(&t, &out);
  return {out.tm_year + 1900, out.tm_mon + 1, out.tm_mday, out.tm_hour, out.tm_min, out.tm_sec};
}
