#include <array>
#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "dustplot/log_reader.h"
#include "dustplot/log_row.h"

namespace {

struct LineCaseT {
  const char* Name;
  std::string Line;
  LineKindT Kind;
};

const std::string Values = "     4     6     9     4     6     9   870   259    43     3     1     0";

// Every kind of line dustlog writes, rows with the separators locales give, and rows that went wrong.
const LineCaseT LineCases[] = {
    {"row", "24-03-05 07:13:01" + Values, LineKindT::Row},
    {"dot separator", "24-03-05 07.13.01" + Values, LineKindT::Row},
    {"tab and trailing blanks", "24-03-05 07:13:01\t4 6 9 4 6 9 870 259 43 3 1 0  ", LineKindT::Row},
    {"widest values",
     "24-03-05 07:13:01 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535 65535",
     LineKindT::Row},
    {"blank", "", LineKindT::Other},
    {"banner", "dustlog: dustlog. Compiled: 2024/03/01 12:00:00.", LineKindT::Other},
    {"header", "--date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P  0.5P  1.0P  2.5P  5.0P 10.0P",
     LineKindT::Other},
    {"rule", std::string(90, '-'), LineKindT::Other},
    {"prompt then header",
     "Enter comm port to use (digits only): --date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P",
     LineKindT::Other},
    {"no port", "No com port selected, exiting.", LineKindT::Other},
    {"usage", "Monitors Air Quality sensor. Command Format is:", LineKindT::Other},
    {"usage words", "dustlog [comport]", LineKindT::Other},
    {"usage indent", "              will prompt for it.", LineKindT::Other},
    {"port error", "Communication error 13: Permission denied", LineKindT::Other},
    {"port message", "Unable to open communications port. Terminating.", LineKindT::Other},
    {"limit", "Checksum error count exceeded 10", LineKindT::Other},
    {"report head", "An unhandled exception occurred at $000029C7:", LineKindT::Other},
    {"report class", "EFrameLen: Frame length was incorrect", LineKindT::Other},
    {"report frame", "  $000029C7", LineKindT::Other},
    {"four-digit year", "2024-03-05 07:13:01" + Values, LineKindT::Other},
    {"eleven values", "24-03-05 07:13:01     4     6     9     4     6     9   870   259    43     3     1",
     LineKindT::Malformed},
    {"thirteen values", "24-03-05 07:13:01" + Values + "     7", LineKindT::Malformed},
    {"not a number",
     "24-03-05 07:13:01     4     x     9     4     6     9   870   259    43     3     1     0",
     LineKindT::Malformed},
    {"negative", "24-03-05 07:13:01     4    -6     9     4     6     9   870   259    43     3     1     0",
     LineKindT::Malformed},
    {"decimal", "24-03-05 07:13:01     4   6.5     9     4     6     9   870   259    43     3     1     0",
     LineKindT::Malformed},
    {"glued to the stamp", "24-03-05 07:13:014 6 9 4 6 9 870 259 43 3 1 0", LineKindT::Malformed},
    {"beyond 32 bits", "24-03-05 07:13:01 4294967296 6 9 4 6 9 870 259 43 3 1 0", LineKindT::Malformed},
    {"stamp only", "24-03-05 07:13:01", LineKindT::Malformed},
    {"short stamp", "24-03-05 07:13", LineKindT::Malformed},
    {"digit as separator", "24-03-05 0701301" + Values, LineKindT::Malformed},
    {"month 13", "24-13-05 07:13:01" + Values, LineKindT::Malformed},
    {"30 February", "24-02-30 07:13:01" + Values, LineKindT::Malformed},
    {"hour 24", "24-03-05 24:13:01" + Values, LineKindT::Malformed},
};

void PrintTo(const LineCaseT& c, std::ostream* os) { *os << '"' << c.Line << '"'; }

class LogLine : public testing::TestWithParam<LineCaseT> {};

TEST_P(LogLine, IsClassified) {
  LogRowT row;
  EXPECT_EQ(ParseLogLine(GetParam().Line, row), GetParam().Kind) << GetParam().Line;
}

INSTANTIATE_TEST_SUITE_P(Lines, LogLine, testing::ValuesIn(LineCases),
                         [](const testing::TestParamInfo<LineCaseT>& info) {
                           std::string name = info.param.Name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST(LogLine, RowFieldsAreReadInColumnOrder) {
  LogRowT row;
  ASSERT_EQ(ParseLogLine("00-12-31 23.59.58 1 2 3 4 5 6 7 8 9 10 11 4294967295", row), LineKindT::Row);
  EXPECT_EQ(row.Time.Year, 2000);
  EXPECT_EQ(row.Time.Month, 12);
  EXPECT_EQ(row.Time.Day, 31);
  EXPECT_EQ(row.Time.Hour, 23);
  EXPECT_EQ(row.Time.Minute, 59);
  EXPECT_EQ(row.Time.Second, 58);
  const std::array<uint32_t, ValueCount> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 4294967295u};
  EXPECT_EQ(row.Values, expected);
}

// Two runs appended to one log, one with CR LF and one with LF line ends, a
// malformed row, and a last row still being written.
TEST(LogReader, ReadsRunsInOrderAndNamesMalformedLines) {
  const std::string text =
      "\r\ndustlog: dustlog. Compiled: 2024/03/01 12:00:00.\r\n\r\n"
      "--date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P  0.5P  1.0P  2.5P  5.0P 10.0P\r\n" +
      std::string(90, '-') +
      "\r\n"
      "24-03-05 07:13:01 1 1 1 1 1 1 1 1 1 1 1 1\r\n"
      "24-03-05 07:18:01 2 2 2 2 2 2 2 2 2 2 2\r\n"
      "Timeout error count exceeded 10\r\n"
      "\ndustlog: dustlog. Compiled: 2024/03/01 12:00:00.\n\n"
      "24-03-05 08:00:00 3 3 3 3 3 3 3 3 3 3 3 3\n"
      "24-03-05 08:05:00     4     4     4";
  LogT log;
  ReadLogText(text, "dust.log", log);
  ASSERT_EQ(log.Rows.size(), 2u);
  EXPECT_EQ(log.Rows[0].Values[0], 1u);
  EXPECT_EQ(log.Rows[1].Values[0], 3u);
  EXPECT_EQ(log.Rows[1].Time.Hour, 8);
  ASSERT_EQ(log.Malformed.size(), 1u);
  EXPECT_EQ(log.Malformed[0].Source, "dust.log");
  EXPECT_EQ(log.Malformed[0].Line, 7);
}

TEST(LogReader, AddsSourcesAfterEachOther) {
  LogT log;
  ReadLogText("24-03-05 07:13:01 1 1 1 1 1 1 1 1 1 1 1 1\n", "a.log", log);
  ReadLogText("x\n24-03-04 07:13:01 2 2 2 2 2 2 2 2 2 2 2 2\n24-03-04 07:1\n", "b.log", log);
  ASSERT_EQ(log.Rows.size(), 2u);
  EXPECT_EQ(log.Rows[0].Values[0], 1u);
  EXPECT_EQ(log.Rows[1].Values[0], 2u);
  ASSERT_EQ(log.Malformed.size(), 1u);
  EXPECT_EQ(log.Malformed[0].Source, "b.log");
  EXPECT_EQ(log.Malformed[0].Line, 3);
}

}  // namespace
