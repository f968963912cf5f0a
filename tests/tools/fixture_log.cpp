#include "fixture_log.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int RowSeconds = 300;

}  // namespace

std::string FixtureLog(const CivilTimeT& start, int rows) {
  std::string log = "\r\ndustlog: dustlog. Compiled: 2024/03/01 12:00:00.\r\n\r\n";
  const int64_t first = CivilSeconds(start);
  for (int i = 0; i < rows; ++i) {
    if (i % 10 == 0) {
      log += "--date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P  0.5P  1.0P  2.5P  5.0P 10.0P\r\n";
      log += std::string(90, '-') + "\r\n";
    }
    const CivilTimeT t = CivilFromSeconds(first + int64_t{i} * RowSeconds);
    const double hour = t.Hour + t.Minute / 60.0;
    const int pm25 = static_cast<int>(8 + 6 * std::sin(hour / 24 * 2 * M_PI) + i % 3);
    const int pm1 = pm25 * 7 / 10;
    const int pm10 = pm25 * 3 / 2 + i % 2;
    char line[128];
    std::snprintf(line, sizeof line,
                  "%02d-%02d-%02d %02d:%02d:%02d %5d %5d %5d %5d %5d %5d %5d %5d %5d %5d %5d %5d\r\n",
                  t.Year % 100, t.Month, t.Day, t.Hour, t.Minute, t.Second, pm1, pm25, pm10, pm1, pm25, pm10,
                  pm25 * 140, pm25 * 42, pm25 * 7, pm10 / 3, pm10 / 9, i % 4 == 0 ? 1 : 0);
    log += line;
  }
  return log;
}
