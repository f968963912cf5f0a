#include "sensor/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

// Sets TZ for one scope and restores what was there.
class ScopedTz {
public:
  explicit ScopedTz(const char* zone) {
    if (const char* old = std::getenv("TZ")) Saved = old;
    setenv("TZ", zone, 1);
  }
  ~ScopedTz() {
    if (Saved)
      setenv("TZ", Saved->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

private:
  std::optional<std::string> Saved;
};

// The stamp, and UTC shifted by offsetS, taken in the same second.
void ExpectLocalNowIsUtcPlus(int64_t offsetS) {
  SystemClock clock;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t before = std::time(nullptr);
    const LocalTimeT stamp = clock.LocalNow();
    if (std::time(nullptr) != before) continue;  // a second boundary passed: take both again
    const std::time_t shifted = before + offsetS;
    std::tm utc{};
    gmtime_r(&shifted, &utc);
    EXPECT_EQ(stamp.Year, utc.tm_year + 1900);
    EXPECT_EQ(stamp.Month, utc.tm_mon + 1);
    EXPECT_EQ(stamp.Day, utc.tm_mday);
    EXPECT_EQ(stamp.Hour, utc.tm_hour);
    EXPECT_EQ(stamp.Minute, utc.tm_min);
    EXPECT_EQ(stamp.Second, utc.tm_sec);
    return;
  }
  FAIL() << "no two clock readings within one second";
}

// The machine's zone may change while the program runs for days; the stamp
// must follow it, not the zone seen at the first stamp.
TEST(SystemClock, StampFollowsATimeZoneChangedWhileRunning) {
  {
    ScopedTz zone("UTC0");
    ExpectLocalNowIsUtcPlus(0);
  }
  {
    ScopedTz zone("XYZ-5:30");  // 5 h 30 min east of Greenwich
    ExpectLocalNowIsUtcPlus(5 * 3600 + 30 * 60);
  }
  {
    ScopedTz zone("ABC+7");
    ExpectLocalNowIsUtcPlus(-7 * 3600);
  }
}

}  // namespace
