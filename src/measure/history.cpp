#include "measure/history.h"

#include "sensor/clock.h"

void HistoryInit(HistoryT& history) {
  history.Max = MaxPacketHistory;
  history.Len = 0;
  history.Next = 0;
}

void HistoryAdd(HistoryT& history, const PacketT& packet, int64_t nowMs) {
  history.Packets[history.Next] = {nowMs, packet};
  history.Next = (history.Next + 1) % history.Max;
  if (history.Len < history.Max) ++history.Len;
}

uint32_t RoundedQuotient(uint32_t sum, uint32_t count) {
  const uint32_t quotient = sum / count;
  const uint32_t twiceRest = 2 * (sum % count);
  if (twiceRest > count || (twiceRest == count && quotient % 2 == 1)) return quotient + 1;
  return quotient;
}

std::optional<PacketT> HistoryAvg(int32_t seconds, const HistoryT& history, int64_t nowMs) {
  if (history.Len == 0) return std::nullopt;
  // 360 entries of at most 65535 each: every sum fits 32 bits.
  std::array<uint32_t, MeasurementCount> sums{};
  uint32_t dataPoints = 0;
  int32_t n = history.Len < history.Max ? 0 : history.Next;
  do {
    const histPacketT& entry = history.Packets[n];
    if (SecondsBetween(entry.CapTime, nowMs) <= seconds) {
      for (int f = 0; f < MeasurementCount; ++f) sums[f] += entry.Packet.*MeasurementFields[f];
      ++dataPoints;
    }
    n = (n + 1) % history.Max;
  } while (n != history.Next);

  if (dataPoints == 0) return std::nullopt;
  PacketT average;
  for (int f = 0; f < MeasurementCount; ++f) {
    average.*MeasurementFields[f] = static_cast<uint16_t>(RoundedQuotient(sums[f], dataPoints));
  }
  return average;
}
