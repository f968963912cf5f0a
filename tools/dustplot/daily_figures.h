#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dustplot/log_row.h"

enum class ReadingsT { Standard, Environment };

// One local calendar day, as the rows' printed dates say.
struct DayFiguresT {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int64_t Rows = 0;
  uint64_t Pm25Sum = 0;
  uint64_t Pm10Sum = 0;
  uint32_t Pm25Max = 0;
  uint32_t Pm10Max = 0;
};

constexpr int RowMinutes = 5;  // dustlog's report period

// The days that have rows, in calendar order.
std::vector<DayFiguresT> DailyFigures(const std::vector<LogRowT>& rows, ReadingsT readings);

// Which guideline levels the day's mean is above.
bool MeanAbove(uint64_t sum, int64_t rows, int level);

// The aligned table: a header line, then one line per day.
std::string DailyTable(const std::vector<DayFiguresT>& days, ReadingsT readings);
