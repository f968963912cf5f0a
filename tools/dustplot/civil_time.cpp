#include "dustplot/civil_time.h"

#include <cstdio>

namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar, counted in
// 400-year eras of 146097 days whose years start on 1 March.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, CivilTimeT& time) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;  // 0 is March
  time.Day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  time.Month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  time.Year = static_cast<int>(yearOfEra + era * 400 + (time.Month <= 2 ? 1 : 0));
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

bool IsValidDate(int year, int month, int day) {
  constexpr int DaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const int last = DaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
  return day <= last;
}

int64_t CivilSeconds(const CivilTimeT& time) {
  return DaysFromCivil(time.Year, time.Month, time.Day) * SecondsPerDay + int64_t{time.Hour} * 3600 +
         int64_t{time.Minute} * 60 + time.Second;
}

CivilTimeT CivilFromSeconds(int64_t seconds) {
  int64_t days = seconds / SecondsPerDay;
  int64_t rest = seconds % SecondsPerDay;
  if (rest < 0) {
    rest += SecondsPerDay;
    --days;
  }
  CivilTimeT time;
  CivilFromDays(days, time);
  time.Hour = static_cast<int>(rest / 3600);
  time.Minute = static_cast<int>(rest / 60 % 60);
  time.Second = static_cast<int>(rest % 60);
  return time;
}

std::string IsoText(const CivilTimeT& time) {
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", time.Year, time.Month, time.Day,
                time.Hour, time.Minute, time.Second);
  return text;
}

std::string DateText(const CivilTimeT& time) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", time.Year, time.Month, time.Day);
  return text;
}
