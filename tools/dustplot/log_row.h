#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "dustplot/civil_time.h"

constexpr int ValueCount = 12;  // measurement columns of a dustlog row

// Column positions, in the order dustlog prints them.
enum ValueColumn : int {
  Pm1Std,
  Pm25Std,
  Pm10Std,
  Pm1Env,
  Pm25Env,
  Pm10Env,
  Count03,  // particles above 0.3 um in 0.1 L of air
  Count05,
  Count10,
  Count25,
  Count50,
  Count100,
};

struct LogRowT {
  CivilTimeT Time;
  std::array<uint32_t, ValueCount> Values{};
};

enum class LineKindT {
  Other,      // anything else dustlog writes: skipped without a word
  Row,        // a table row
  Malformed,  // starts with a row's date but is not a row
};

// Classifies one line, given without its line end; fills row for a Row.
// A row is "yy-mm-dd hh?nn?ss" (? any one non-digit: the locale's time
// separator) and twelve whitespace-separated non-negative integers.
LineKindT ParseLogLine(std::string_view line, LogRowT& row);
