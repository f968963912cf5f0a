#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sensor/clock.h"
#include "sensor/packet.h"

constexpr int HeaderEvery = 10;  // rows between repeated column headers

struct ReportTableT {
  int32_t Lines = 0;   // rows printed so far
  char TimeSep = ':';  // the locale's time separator
};

// Text of one report: header and rule when due, then the row; CR LF line ends.
struct ReportTextT {
  char Text[3 * 96] = {};
  size_t Len = 0;
  std::string_view View() const { return {Text, Len}; }
};

// Formats the row for `packet` stamped with `now`, and counts it.
ReportTextT PrintPacket(ReportTableT& table, const PacketT& packet, const LocalTimeT& now);
