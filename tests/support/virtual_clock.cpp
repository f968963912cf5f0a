#include "support/virtual_clock.h"

#include <chrono>

LocalTimeT VirtualClock::LocalNow() {
  // Calendar arithmetic through std::chrono keeps month and year rollover right.
  using namespace std::chrono;
  const sys_days originDay = year{Origin.Year} / Origin.Month / Origin.Day;
  const sys_seconds origin = originDay + hours{Origin.Hour} + minutes{Origin.Minute} + seconds{Origin.Second};
  // Floor: the stamp drops milliseconds, never rounds them up.
  const sys_seconds now = origin + floor<seconds>(milliseconds{NowMs + WallOffsetMs});
  const sys_days day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss<seconds> time{now - day};
  return {static_cast<int>(date.year()),
          static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day())),
          static_cast<int>(time.hours().count()),
          static_cast<int>(time.minutes().count()),
          static_cast<int>(time.seconds().count())};
}
