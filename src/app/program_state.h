#pragma once

#include <cstdint>

#include "measure/history.h"
#include "measure/report_table.h"
#include "sensor/packet.h"

constexpr int32_t MaxChecksumCount = 10;
constexpr int32_t MaxTimeoutCount = 10;

// Everything the program keeps for its whole run. main owns the one instance.
struct ProgramT {
  int32_t RequestedPort = 0;
  PacketT Packet;                // the last good frame, or the last report's average
  int32_t ErrChecksumCount = 0;  // since the last good frame
  int32_t ErrTimeoutCount = 0;   // since the last good frame
  HistoryT History;
  int64_t AvgTimer = 0;  // monotonic ms of the last report, or of start-up
  ReportTableT Report;
};
