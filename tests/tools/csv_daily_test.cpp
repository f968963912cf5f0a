#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dustplot/csv_writer.h"
#include "dustplot/daily_figures.h"
#include "dustplot/log_reader.h"

namespace {

std::vector<LogRowT> RowsOf(const std::string& text) {
  LogT log;
  ReadLogText(text, "fixture", log);
  EXPECT_TRUE(log.Malformed.empty());
  return log.Rows;
}

TEST(Csv, ByteExactForASmallLog) {
  const std::string text =
      "\r\ndustlog: dustlog. Compiled: 2024/03/01 12:00:00.\r\n\r\n"
      "--date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P  0.5P  1.0P  2.5P  5.0P 10.0P\r\n"
      "------------------------------------------------------------------------------------------\r\n"
      "24-03-05 07:13:01     4     6     9     4     6     9   870   259    43     3     1     0\r\n"
      "24-03-05 07.18.02     0     0     0     0     0     0     0     0     0     0     0     0\n"
      "00-01-01 00:00:00 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535\r\n";
  std::string csv;
  AppendCsv(RowsOf(text), csv);
  EXPECT_EQ(csv,
            "time,pm1_0_std,pm2_5_std,pm10_std,pm1_0_env,pm2_5_env,pm10_env,"
            "gt0_3um,gt0_5um,gt1_0um,gt2_5um,gt5_0um,gt10um\n"
            "2024-03-05T07:13:01,4,6,9,4,6,9,870,259,43,3,1,0\n"
            "2024-03-05T07:18:02,0,0,0,0,0,0,0,0,0,0,0,0\n"
            "2000-01-01T00:00:00,65535,65535,65535,65535,65535,65535,65535,65535,65535,65535,65535,65535\n");
}

// Two days around midnight with a gap in the second. The standard and the
// environment columns differ so that the wrong pair shows; means land on
// exactly the guideline (not above), just over it, and on a half.
const std::string DaysLog =
    "24-03-05 23:50:00     1    20    50     1     2     3     0     0     0     0     0     0\r\n"
    "24-03-05 23:55:00     1    11    41     1     4     5     0     0     0     0     0     0\r\n"
    "24-03-06 00:00:00     1    15    44     1    16    60     0     0     0     0     0     0\r\n"
    "24-03-06 00:05:00     1    14    46     1    17    40     0     0     0     0     0     0\r\n"
    "24-03-06 09:30:00     1    16    45     1    16    40     0     0     0     0     0     0\r\n";

TEST(Daily, StandardFiguresAcrossMidnightAndAGap) {
  const ReadingsT readings = ReadingsT::Standard;
  EXPECT_EQ(DailyTable(DailyFigures(RowsOf(DaysLog), readings), readings),
            "date         rows  hours  2.5S mean  2.5S max 10.0S mean 10.0S max  above WHO 24-h guideline\n"
            "2024-03-05      2    0.2       15.5        20       45.5        50  PM2.5 PM10\n"
            "2024-03-06      3    0.3       15.0        16       45.0        46  -\n");
}

TEST(Daily, EnvironmentFigures) {
  const ReadingsT readings = ReadingsT::Environment;
  EXPECT_EQ(DailyTable(DailyFigures(RowsOf(DaysLog), readings), readings),
            "date         rows  hours  2.5E mean  2.5E max 10.0E mean 10.0E max  above WHO 24-h guideline\n"
            "2024-03-05      2    0.2        3.0         4        4.0         5  -\n"
            "2024-03-06      3    0.3       16.3        17       46.7        60  PM2.5 PM10\n");
}

// Logs given out of order still give one line per day, in calendar order.
TEST(Daily, DaysInCalendarOrderWhateverTheInputOrder) {
  const std::string text =
      "24-03-06 10:00:00 0 10 0 0 0 0 0 0 0 0 0 0\n"
      "24-03-05 10:00:00 0 20 0 0 0 0 0 0 0 0 0 0\n"
      "24-03-06 10:05:00 0 12 0 0 0 0 0 0 0 0 0 0\n";
  const std::vector<DayFiguresT> days = DailyFigures(RowsOf(text), ReadingsT::Standard);
  ASSERT_EQ(days.size(), 2u);
  EXPECT_EQ(days[0].Day, 5);
  EXPECT_EQ(days[0].Rows, 1);
  EXPECT_EQ(days[1].Day, 6);
  EXPECT_EQ(days[1].Rows, 2);
  EXPECT_EQ(days[1].Pm25Sum, 22u);
  EXPECT_EQ(days[1].Pm25Max, 12u);
}

TEST(Daily, MeanHalvesRoundUp) {
  std::vector<LogRowT> rows(4);
  for (LogRowT& row : rows) {
    row.Time = {2024, 3, 5, 10, 0, 0};
    row.Values[Pm25Std] = 12;
  }
  rows[0].Values[Pm25Std] = 13;  // 49 / 4 = 12.25
  const std::string table = DailyTable(DailyFigures(rows, ReadingsT::Standard), ReadingsT::Standard);
  EXPECT_NE(table.find("\n2024-03-05      4    0.3       12.3        13 "), std::string::npos) << table;
}

}  // namespace
