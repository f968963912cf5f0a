#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dustplot/chart_script.h"

namespace {

constexpr int64_t Minute = 60;
constexpr int64_t Hour = 3600;
constexpr int64_t Day = 86400;

int64_t At(int year, int month, int day, int hour = 0, int minute = 0) {
  return CivilSeconds({year, month, day, hour, minute, 0});
}

struct TickCaseT {
  const char* Name;
  int64_t First;
  int64_t Last;
  int64_t Step;
  int64_t FirstTick;
  const char* Format;
};

const TickCaseT TickCases[] = {
    {"two hours", At(2024, 3, 5, 7, 13), At(2024, 3, 5, 9, 8), 10 * Minute, At(2024, 3, 5, 7, 20), "%H:%M"},
    {"two days", At(2024, 3, 5, 7, 13), At(2024, 3, 7, 7, 8), 6 * Hour, At(2024, 3, 5, 12), "%H:%M\\n%b %d"},
    {"thirty days from a Friday", At(2024, 3, 1, 0, 2), At(2024, 3, 31), 7 * Day, At(2024, 3, 4), "%b %d"},
    {"over new year from a Friday", At(2023, 12, 1), At(2024, 1, 10), 7 * Day, At(2023, 12, 4), "%b %d\\n%Y"},
};

TEST(ChartTicks, RoundTimesAboutOnePer110Pixels) {
  for (const TickCaseT& c : TickCases) {
    const TicksT ticks = ChooseTicks(c.First, c.Last, 1280);
    EXPECT_EQ(ticks.Step, c.Step) << c.Name;
    EXPECT_EQ(ticks.First, c.FirstTick) << c.Name;
    EXPECT_EQ(ticks.Format, c.Format) << c.Name;
    EXPECT_LE((c.Last - c.First) / ticks.Step, 1280 / 110) << c.Name;
  }
  EXPECT_GT(ChooseTicks(At(2024, 3, 5), At(2024, 3, 7), 400).Step,
            ChooseTicks(At(2024, 3, 5), At(2024, 3, 7), 1280).Step);
}

LogRowT RowAt(int64_t seconds, uint32_t pm25) {
  LogRowT row;
  row.Time = CivilFromSeconds(seconds);
  row.Values[Pm25Std] = pm25;
  return row;
}

std::string Block(const std::string& script, const std::string& name) {
  const size_t start = script.find(name + " << EOD\n");
  if (start == std::string::npos) return "(none)";
  const size_t body = start + name.size() + 8;
  return script.substr(body, script.find("EOD\n", body) - body);
}

// A line may only join rows of one run: the data gets a blank line at each
// gap and backward step, and a row standing alone is drawn as a dot.
TEST(ChartScript, DataBreaksAtGapsAndBackwardSteps) {
  const int64_t t = At(2024, 3, 5, 7);
  const std::vector<LogRowT> rows = {
      RowAt(t, 1),
      RowAt(t + 5 * Minute, 2),
      RowAt(t + 60 * Minute, 3),
      RowAt(t + 2 * Hour, 4),
      RowAt(t + 2 * Hour + 5 * Minute, 5),
      RowAt(t + Hour + 30 * Minute, 6),
      RowAt(t + Hour + 35 * Minute, 7),
  };
  const std::string script = ChartScript(rows, {});
  EXPECT_EQ(Block(script, "$rows"),
            "2024-03-05T07:00:00 0 1 0 0 0 0 0 0 0 0 0 0\n"
            "2024-03-05T07:05:00 0 2 0 0 0 0 0 0 0 0 0 0\n"
            "\n"
            "2024-03-05T09:00:00 0 4 0 0 0 0 0 0 0 0 0 0\n"
            "2024-03-05T09:05:00 0 5 0 0 0 0 0 0 0 0 0 0\n"
            "\n"
            "2024-03-05T08:30:00 0 6 0 0 0 0 0 0 0 0 0 0\n"
            "2024-03-05T08:35:00 0 7 0 0 0 0 0 0 0 0 0 0\n"
            "\n");
  EXPECT_EQ(Block(script, "$lone"), "2024-03-05T08:00:00 0 3 0 0 0 0 0 0 0 0 0 0\n");
  EXPECT_NE(script.find("set xrange [\"2024-03-05T07:00:00\":\"2024-03-05T09:05:00\"]"), std::string::npos)
      << script;
}

}  // namespace
