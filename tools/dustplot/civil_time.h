#pragma once

#include <cstdint>
#include <string>

// A wall-clock date and time as a log prints it. Logs carry no zone, so times
// are compared as printed: no time-zone database is consulted, and a log read
// on another machine gives the same results.
struct CivilTimeT {
  int Year = 2000;
  int Month = 1;  // 1..12
  int Day = 1;    // 1..31
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

constexpr int64_t SecondsPerDay = 86400;

bool IsValidDate(int year, int month, int day);

// Seconds since 1970-01-01 00:00:00 on the same wall clock (the scale gnuplot's time axis uses).
int64_t CivilSeconds(const CivilTimeT& time);
CivilTimeT CivilFromSeconds(int64_t seconds);

// "2024-03-05T07:13:01"
std::string IsoText(const CivilTimeT& time);
// "2024-03-05"
std::string DateText(const CivilTimeT& time);
