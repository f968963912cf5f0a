#include "dustplot/period.h"

namespace {

constexpr size_t DateLength = 10;      // "YYYY-MM-DD"
constexpr size_t DateTimeLength = 16;  // "YYYY-MM-DD HH:MM"

bool DigitsAt(std::string_view text, size_t at, size_t count, int& value) {
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::optional<int64_t> ParseWhen(std::string_view text, PeriodEndT end) {
  if (text.size() != DateLength && text.size() != DateTimeLength) return std::nullopt;
  CivilTimeT time;
  if (!DigitsAt(text, 0, 4, time.Year) || text[4] != '-' || !DigitsAt(text, 5, 2, time.Month) ||
      text[7] != '-' || !DigitsAt(text, 8, 2, time.Day) || !IsValidDate(time.Year, time.Month, time.Day))
    return std::nullopt;
  if (text.size() == DateLength) {
    if (end == PeriodEndT::End) return CivilSeconds(time) + SecondsPerDay - 1;
    return CivilSeconds(time);
  }
  if (text[10] != ' ' || !DigitsAt(text, 11, 2, time.Hour) || text[13] != ':' ||
      !DigitsAt(text, 14, 2, time.Minute) || time.Hour > 23 || time.Minute > 59)
    return std::nullopt;
  return CivilSeconds(time) + (end == PeriodEndT::End ? 59 : 0);
}

void KeepPeriod(std::vector<LogRowT>& rows, const PeriodT& period) {
  std::erase_if(rows, [&period](const LogRowT& row) {
    const int64_t at = CivilSeconds(row.Time);
    return (period.From && at < *period.From) || (period.To && at > *period.To);
  });
}
