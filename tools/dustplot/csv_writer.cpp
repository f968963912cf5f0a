#include "dustplot/csv_writer.h"

#include <charconv>

namespace {

constexpr const char* CsvHeader =
    "time,pm1_0_std,pm2_5_std,pm10_std,pm1_0_env,pm2_5_env,pm10_env,"
    "gt0_3um,gt0_5um,gt1_0um,gt2_5um,gt5_0um,gt10um\n";

// Fixed-width fields written by hand: a year of rows goes through here.
char* TwoDigits(char* at, int value) {
  at[0] = static_cast<char>('0' + value / 10 % 10);
  at[1] = static_cast<char>('0' + value % 10);
  return at + 2;
}

char* IsoStamp(char* at, const CivilTimeT& time) {
  at = TwoDigits(at, time.Year / 100);
  at = TwoDigits(at, time.Year % 100);
  *at++ = '-';
  at = TwoDigits(at, time.Month);
  *at++ = '-';
  at = TwoDigits(at, time.Day);
  *at++ = 'T';
  at = TwoDigits(at, time.Hour);
  *at++ = ':';
  at = TwoDigits(at, time.Minute);
  *at++ = ':';
  return TwoDigits(at, time.Second);
}

}  // namespace

void AppendCsv(const std::vector<LogRowT>& rows, std::string& out) {
  constexpr size_t MaxLine = 19 + ValueCount * 11 + 1;  // stamp, ",4294967295" each, LF
  out += CsvHeader;
  char line[MaxLine];
  for (const LogRowT& row : rows) {
    char* at = IsoStamp(line, row.Time);
    for (uint32_t value : row.Values) {
      *at++ = ',';
      at = std::to_chars(at, line + MaxLine, value).ptr;
    }
    *at++ = '\n';
    out.append(line, static_cast<size_t>(at - line));
  }
}
