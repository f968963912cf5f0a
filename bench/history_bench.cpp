// HistoryAvg over a full ring: the work behind every report row.

#include <benchmark/benchmark.h>

#include "measure/history.h"
#include "sim_frames.h"

namespace {

void BM_HistoryAvgFullRing(benchmark::State& state) {
  HistoryT history;
  HistoryInit(history);
  // One frame a second, and more than a ring's worth: the ring has wrapped.
  constexpr int64_t StepMs = 1000;
  const int entries = MaxPacketHistory + 17;
  for (int i = 0; i < entries; ++i) HistoryAdd(history, SamplePacket(static_cast<uint32_t>(i)), i * StepMs);
  int64_t nowMs = (entries - 1) * StepMs;

  for (auto _ : state) {
    benchmark::DoNotOptimize(nowMs);
    auto average = HistoryAvg(300, history, nowMs);
    benchmark::DoNotOptimize(average);
  }
  state.counters["entries"] = history.Len;
}
BENCHMARK(BM_HistoryAvgFullRing);

}  // namespace
