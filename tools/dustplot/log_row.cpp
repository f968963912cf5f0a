#include "dustplot/log_row.h"

#include <charconv>

namespace {

constexpr size_t DatePrefix = 9;    // "yy-mm-dd "
constexpr size_t StampLength = 17;  // "yy-mm-dd hh:nn:ss"
constexpr int CenturyBase = 2000;   // two-digit years are 2000..2099

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int TwoDigits(std::string_view text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

// Where "yy-mm-dd " stands at the start of the line, the line is meant as a row.
bool StartsLikeRow(std::string_view line) {
  if (line.size() < DatePrefix) return false;
  for (size_t i : {0, 1, 3, 4, 6, 7})
    if (!IsDigit(line[i])) return false;
  return line[2] == '-' && line[5] == '-' && line[8] == ' ';
}

bool ParseStamp(std::string_view line, CivilTimeT& time) {
  if (line.size() < StampLength) return false;
  for (size_t i : {9, 10, 12, 13, 15, 16})
    if (!IsDigit(line[i])) return false;
  if (IsDigit(line[11]) || IsDigit(line[14])) return false;
  time.Year = CenturyBase + TwoDigits(line, 0);
  time.Month = TwoDigits(line, 3);
  time.Day = TwoDigits(line, 6);
  time.Hour = TwoDigits(line, 9);
  time.Minute = TwoDigits(line, 12);
  time.Second = TwoDigits(line, 15);
  return IsValidDate(time.Year, time.Month, time.Day) && time.Hour < 24 && time.Minute < 60 &&
         time.Second < 60;
}

bool ParseValues(std::string_view text, std::array<uint32_t, ValueCount>& values) {
  size_t at = 0;
  for (uint32_t& value : values) {
    const size_t start = at;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at == start || at == text.size() || !IsDigit(text[at])) return false;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error != std::errc{}) return false;  // too large for 32 bits
    at = static_cast<size_t>(end - text.data());
  }
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at == text.size();
}

}  // namespace

LineKindT ParseLogLine(std::string_view line, LogRowT& row) {
  if (!StartsLikeRow(line)) return LineKindT::Other;
  if (!ParseStamp(line, row.Time) || !ParseValues(line.substr(StampLength), row.Values))
    return LineKindT::Malformed;
  return LineKindT::Row;
}
