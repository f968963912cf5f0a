#include "app/banner.h"

#include <cstdio>
#include <cstring>

std::string BannerLine(const char* date, const char* time) {
  constexpr const char* Months = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const char* found = std::strstr(Months, std::string(date, 3).c_str());
  const int month = found ? static_cast<int>(found - Months) / 3 + 1 : 0;
  const int day = std::atoi(date + 4);
  const int year = std::atoi(date + 7);
  char line[64];
  std::snprintf(line, sizeof line, "dustlog: dustlog. Compiled: %04d/%02d/%02d %s.", year, month, day, time);
  return line;
}

std::string BuildBannerLine() { return BannerLine(__DATE__, __TIME__); }
