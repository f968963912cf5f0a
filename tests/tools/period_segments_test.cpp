#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dustplot/period.h"
#include "dustplot/segments.h"

namespace {

constexpr int64_t March5 = 1709596800;  // 2024-03-05 00:00:00 as Unix time

LogRowT RowAt(int year, int month, int day, int hour, int minute, int second = 0) {
  LogRowT row;
  row.Time = {year, month, day, hour, minute, second};
  return row;
}

struct WhenCaseT {
  const char* Text;
  PeriodEndT End;
  std::optional<int64_t> Seconds;
};

const WhenCaseT WhenCases[] = {
    {"2024-03-05", PeriodEndT::Start, March5},
    {"2024-03-05", PeriodEndT::End, March5 + 86399},
    {"2024-03-05 07:13", PeriodEndT::Start, March5 + 7 * 3600 + 13 * 60},
    {"2024-03-05 07:13", PeriodEndT::End, March5 + 7 * 3600 + 13 * 60 + 59},
    {"2024-02-29", PeriodEndT::Start, March5 - 5 * 86400},
    {"2000-01-01", PeriodEndT::Start, 946684800},
    {"2023-02-29", PeriodEndT::Start, std::nullopt},
    {"2024-3-05", PeriodEndT::Start, std::nullopt},
    {"2024-03-05 24:00", PeriodEndT::Start, std::nullopt},
    {"2024-03-05 07:60", PeriodEndT::Start, std::nullopt},
    {"2024-03-05T07:13", PeriodEndT::Start, std::nullopt},
    {"2024-03-05 07:13:00", PeriodEndT::Start, std::nullopt},
    {"24-03-05", PeriodEndT::Start, std::nullopt},
    {"", PeriodEndT::Start, std::nullopt},
};

TEST(When, ParsesDatesAndMinutes) {
  for (const WhenCaseT& c : WhenCases) {
    EXPECT_EQ(ParseWhen(c.Text, c.End), c.Seconds) << c.Text << (c.End == PeriodEndT::End ? " as end" : "");
  }
}

TEST(Period, KeepsRowsBetweenBothEndsIncluded) {
  const std::vector<LogRowT> rows = {
      RowAt(2024, 3, 4, 23, 59, 59), RowAt(2024, 3, 5, 0, 0, 0),    RowAt(2024, 3, 5, 12, 0, 59),
      RowAt(2024, 3, 5, 12, 1, 0),   RowAt(2024, 3, 5, 23, 59, 59), RowAt(2024, 3, 6, 0, 0, 0),
  };
  PeriodT period{ParseWhen("2024-03-05", PeriodEndT::Start), ParseWhen("2024-03-05 12:00", PeriodEndT::End)};
  std::vector<LogRowT> kept = rows;
  KeepPeriod(kept, period);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].Time.Hour, 0);
  EXPECT_EQ(kept[1].Time.Second, 59);

  period = {ParseWhen("2024-03-05 12:01", PeriodEndT::Start), ParseWhen("2024-03-05", PeriodEndT::End)};
  kept = rows;
  KeepPeriod(kept, period);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].Time.Minute, 1);
  EXPECT_EQ(kept[1].Time.Hour, 23);

  kept = rows;
  KeepPeriod(kept, {});
  EXPECT_EQ(kept.size(), rows.size());
}

struct StepCaseT {
  const char* Name;
  LogRowT Previous;
  LogRowT Row;
  bool Continues;
};

const StepCaseT StepCases[] = {
    {"five minutes", RowAt(2024, 3, 5, 7, 13, 1), RowAt(2024, 3, 5, 7, 18, 1), true},
    {"same second", RowAt(2024, 3, 5, 7, 13, 1), RowAt(2024, 3, 5, 7, 13, 1), true},
    {"exactly fifteen minutes", RowAt(2024, 3, 5, 7, 0), RowAt(2024, 3, 5, 7, 15), true},
    {"one second more", RowAt(2024, 3, 5, 7, 0), RowAt(2024, 3, 5, 7, 15, 1), false},
    {"one second back", RowAt(2024, 3, 5, 7, 0, 1), RowAt(2024, 3, 5, 7, 0, 0), false},
    {"over midnight", RowAt(2024, 3, 5, 23, 58), RowAt(2024, 3, 6, 0, 3), true},
    {"over a leap day", RowAt(2024, 2, 29, 23, 58), RowAt(2024, 3, 1, 0, 3), true},
    {"over new year", RowAt(2023, 12, 31, 23, 58), RowAt(2024, 1, 1, 0, 3), true},
    {"clock set back an hour", RowAt(2024, 10, 27, 2, 55), RowAt(2024, 10, 27, 2, 0), false},
    {"clock set forward an hour", RowAt(2024, 3, 31, 1, 55), RowAt(2024, 3, 31, 3, 0), false},
    {"a day later", RowAt(2024, 3, 5, 7, 0), RowAt(2024, 3, 6, 7, 0), false},
};

TEST(Segments, GapOrBackwardStepStartsANewOne) {
  for (const StepCaseT& c : StepCases) EXPECT_EQ(ContinuesSegment(c.Previous, c.Row), c.Continues) << c.Name;
}

TEST(Segments, StartsAreListedInRowOrder) {
  const std::vector<LogRowT> rows = {
      RowAt(2024, 3, 5, 7, 0), RowAt(2024, 3, 5, 7, 5), RowAt(2024, 3, 5, 8, 0),
      RowAt(2024, 3, 5, 8, 5), RowAt(2024, 3, 4, 8, 5), RowAt(2024, 3, 4, 8, 10),
  };
  EXPECT_EQ(SegmentStarts(rows), (std::vector<size_t>{0, 2, 4}));
  EXPECT_TRUE(SegmentStarts({}).empty());
}

}  // namespace
