#include "dustplot/daily_figures.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>

#include "dustplot/guidelines.h"

namespace {

// "2.5S mean" and the like: the labels dustlog's own header uses for the columns.
constexpr const char* HeaderFormat = "%-10s %6s %6s %10s %9s %10s %9s  %s\n";
constexpr const char* RowFormat = "%04d-%02d-%02d %6lld %6s %10s %9u %10s %9u  %s\n";

// numerator / denominator with one decimal, halves rounded up.
std::string OneDecimal(uint64_t numerator, uint64_t denominator) {
  const uint64_t tenths = (numerator * 20 + denominator) / (denominator * 2);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace

std::vector<DayFiguresT> DailyFigures(const std::vector<LogRowT>& rows, ReadingsT readings) {
  const int pm25 = readings == ReadingsT::Standard ? Pm25Std : Pm25Env;
  const int pm10 = readings == ReadingsT::Standard ? Pm10Std : Pm10Env;
  std::map<std::tuple<int, int, int>, DayFiguresT> days;
  for (const LogRowT& row : rows) {
    DayFiguresT& day = days[{row.Time.Year, row.Time.Month, row.Time.Day}];
    day.Year = row.Time.Year;
    day.Month = row.Time.Month;
    day.Day = row.Time.Day;
    ++day.Rows;
    day.Pm25Sum += row.Values[pm25];
    day.Pm10Sum += row.Values[pm10];
    day.Pm25Max = std::max(day.Pm25Max, row.Values[pm25]);
    day.Pm10Max = std::max(day.Pm10Max, row.Values[pm10]);
  }
  std::vector<DayFiguresT> list;
  list.reserve(days.size());
  for (const auto& [date, day] : days) list.push_back(day);
  return list;
}

// Compared in whole numbers, so a mean of exactly the level is never above it by rounding.
bool MeanAbove(uint64_t sum, int64_t rows, int level) {
  return rows > 0 && sum > static_cast<uint64_t>(rows) * static_cast<uint64_t>(level);
}

std::string DailyTable(const std::vector<DayFiguresT>& days, ReadingsT readings) {
  const bool standard = readings == ReadingsT::Standard;
  char line[256];
  std::snprintf(line, sizeof line, HeaderFormat, "date", "rows", "hours",
                standard ? "2.5S mean" : "2.5E mean", standard ? "2.5S max" : "2.5E max",
                standard ? "10.0S mean" : "10.0E mean", standard ? "10.0S max" : "10.0E max",
                "above WHO 24-h guideline");
  std::string table = line;
  for (const DayFiguresT& day : days) {
    const bool pm25 = MeanAbove(day.Pm25Sum, day.Rows, WhoPm25Daily);
    const bool pm10 = MeanAbove(day.Pm10Sum, day.Rows, WhoPm10Daily);
    const char* above = pm25 && pm10 ? "PM2.5 PM10" : pm25 ? "PM2.5" : pm10 ? "PM10" : "-";
    const auto rows = static_cast<uint64_t>(day.Rows);
    std::snprintf(line, sizeof line, RowFormat, day.Year, day.Month, day.Day,
                  static_cast<long long>(day.Rows), OneDecimal(rows * RowMinutes, 60).c_str(),
                  OneDecimal(day.Pm25Sum, rows).c_str(), day.Pm25Max, OneDecimal(day.Pm10Sum, rows).c_str(),
                  day.Pm10Max, above);
    table += line;
  }
  return table;
}
