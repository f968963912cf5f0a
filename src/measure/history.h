#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sensor/packet.h"

constexpr int32_t MaxPacketHistory = 360;

struct histPacketT {
  int64_t CapTime = 0;  // monotonic milliseconds
  PacketT Packet;
};

// A ring of the latest packets. While Len < Max, entries 0..Len-1 are filled
// and Next == Len; once full, Next indexes the oldest entry.
struct HistoryT {
  int32_t Max = MaxPacketHistory;
  int32_t Len = 0;
  int32_t Next = 0;
  std::array<histPacketT, MaxPacketHistory> Packets{};
};

void HistoryInit(HistoryT& history);
void HistoryAdd(HistoryT& history, const PacketT& packet, int64_t nowMs);

// Field-by-field average of the entries at most `seconds` whole seconds old,
// halves rounded to even; only the measurement fields are set. Empty when no
// entry lies inside the window.
std::optional<PacketT> HistoryAvg(int32_t seconds, const HistoryT& history, int64_t nowMs);

// sum / count rounded to nearest, halves to the even neighbour.
uint32_t RoundedQuotient(uint32_t sum, uint32_t count);
