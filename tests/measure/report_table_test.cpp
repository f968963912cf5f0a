#include "measure/report_table.h"

#include <gtest/gtest.h>

#include <string>

#include "sensor/error.h"
#include "sim_frames.h"

namespace {

const std::string Header =
    "--date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P  0.5P  1.0P  2.5P  5.0P 10.0P";
const std::string Rule(90, '-');
const std::string HeaderAndRule = Header + "\r\n" + Rule + "\r\n";

const PacketT Sample = MakePacket({3, 5, 6, 3, 5, 6, 840, 250, 40, 3, 1, 0});
const LocalTimeT SampleTime{2021, 5, 25, 19, 31, 48};
const std::string SampleRow =
    "21-05-25 19:31:48     3     5     6     3     5     6   840   250    40     3     1     0";

TEST(ReportTable, FirstReportWritesHeaderRuleAndRow) {
  ReportTableT table;
  const std::string text(PrintPacket(table, Sample, SampleTime).View());
  EXPECT_EQ(text, HeaderAndRule + SampleRow + "\r\n");
}

TEST(ReportTable, HeaderRepeatsBeforeEveryTenthRow) {
  ReportTableT table;
  for (int row = 1; row <= 31; ++row) {
    const bool headed = row == 1 || row == 11 || row == 21 || row == 31;
    const std::string text(PrintPacket(table, Sample, SampleTime).View());
    EXPECT_EQ(text, (headed ? HeaderAndRule : "") + SampleRow + "\r\n") << "row " << row;
  }
}

// The row count is checked: the row that would take it past its range is
// refused instead of wrapping to a negative count.
TEST(ReportTable, RowCountPastItsRangeIsAnOverflowError) {
  ReportTableT table;
  table.Lines = INT32_MAX - 1;
  EXPECT_EQ(std::string(PrintPacket(table, Sample, SampleTime).View()), SampleRow + "\r\n");
  EXPECT_EQ(table.Lines, INT32_MAX);
  EXPECT_THROW(PrintPacket(table, Sample, SampleTime), EIntOverflow);
  EXPECT_EQ(table.Lines, INT32_MAX);
}

TEST(ReportTable, RowFormatsStampAndFields) {
  struct Case {
    PacketT Packet;
    LocalTimeT Time;
    char TimeSep;
    std::string Row;
  };
  const uint16_t M = 65535;
  const Case cases[] = {
      {Sample, SampleTime, ':', SampleRow},
      {Sample, SampleTime, '.',
       "21-05-25 19.31.48     3     5     6     3     5     6   840   250    40     3     1     0"},
      // A separator byte above 0x7F comes out as that byte, whatever the sign of char.
      {Sample, SampleTime, '\xB7',
       "21-05-25 19\xB7"
       "31\xB7"
       "48     3     5     6     3     5     6   840   250    40     3     1     0"},
      {MakePacket({M, M, M, M, M, M, M, M, M, M, M, M}),
       {2024, 3, 5, 7, 8, 9},
       ':',
       "24-03-05 07:08:09 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535"},
      {MakePacket({}),
       {2000, 1, 1, 0, 0, 0},
       ':',
       "00-01-01 00:00:00     0     0     0     0     0     0     0     0     0     0     0     0"},
      {MakePacket({1, 22, 333, 4444, 55555, 6, 70, 800, 9000, 10000, 11, 12}),
       {2099, 12, 31, 23, 59, 59},
       ':',
       "99-12-31 23:59:59     1    22   333  4444 55555     6    70   800  9000 10000    11    12"},
  };
  for (const Case& c : cases) {
    ReportTableT table;
    table.Lines = 1;  // past the header
    table.TimeSep = c.TimeSep;
    EXPECT_EQ(std::string(PrintPacket(table, c.Packet, c.Time).View()), c.Row + "\r\n");
  }
}

}  // namespace
