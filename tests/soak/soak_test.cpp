// A week of operation in virtual time: the real loop, serial object and
// report code fed by a generated sensor with faults below the limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include "allocation_counter.h"
#include "app/acquisition_loop.h"
#include "app/program_state.h"
#include "app/reporting_cycle.h"
#include "sensor/block_serial.h"
#include "sensor/error.h"
#include "soak_sensor.h"
#include "support/virtual_clock.h"

namespace {

constexpr int64_t SimulatedDays = 7;
constexpr int64_t SimulatedMs = SimulatedDays * 24 * 3600 * 1000;
constexpr uint64_t Seed = 0x5EED'D057'1060'0001ULL;
constexpr int64_t WarmUpPasses = 3600;  // the first hour may set things up

constexpr int32_t HistoryCap = 360;  // packets kept
constexpr int64_t WindowSeconds = 300;

// Wall-clock steps (a daylight-saving change, an NTP jump) at monotonic times.
struct WallStepT {
  int64_t AtMs;
  int64_t DeltaMs;
};
constexpr int64_t HourMs = 3'600'000;
constexpr std::array<WallStepT, 4> WallSteps = {{
    {36 * HourMs + 123'456, +HourMs},
    {72 * HourMs + 299'000, -HourMs},
    {102 * HourMs + 7'000, -HourMs},
    {132 * HourMs + 150'500, +HourMs},
}};

constexpr std::string_view Header =
    "--date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P  0.5P  1.0P  2.5P  5.0P 10.0P\r\n"
    "------------------------------------------------------------------------------------------\r\n";

using ValuesT = std::array<uint16_t, MeasurementCount>;

ValuesT ValuesOf(const PacketT& packet) {
  ValuesT values{};
  for (int f = 0; f < MeasurementCount; ++f) values[f] = packet.*MeasurementFields[f];
  return values;
}

// What one pass writes, caught in a fixed buffer: the measured loop must not allocate.
class PassConsole final : public Console {
public:
  void Write(std::string_view text) override {
    if (text.size() > sizeof Text - Len) {
      Overflowed = true;
      return;
    }
    std::memcpy(Text + Len, text.data(), text.size());
    Len += text.size();
  }
  bool ReadLine(std::string&) override { return false; }

  std::string_view View() const { return {Text, Len}; }
  void Clear() { Len = 0; }

  bool Overflowed = false;

private:
  char Text[1024] = {};
  size_t Len = 0;
};

// The entries the program should have stored, kept apart from its own ring.
class StoredRecord {
public:
  void Add(int64_t atMs, const ValuesT& values) {
    Entries[Count % Entries.size()] = {atMs, values};
    ++Count;
  }

  // Mean of the latest entries at most WindowSeconds whole seconds old, halves
  // to even. ties counts the fields that landed exactly on a half.
  ValuesT Average(int64_t nowMs, int64_t& ties) const {
    std::array<uint64_t, MeasurementCount> sums{};
    uint64_t n = 0;
    const int64_t kept = std::min<int64_t>(Count, HistoryCap);
    for (int64_t i = Count - kept; i < Count; ++i) {
      const EntryT& entry = Entries[i % Entries.size()];
      if ((nowMs - entry.AtMs) / 1000 > WindowSeconds) continue;
      for (int f = 0; f < MeasurementCount; ++f) sums[f] += entry.Values[f];
      ++n;
    }
    ValuesT mean{};
    for (int f = 0; f < MeasurementCount; ++f) {
      if (2 * (sums[f] % n) == n) ++ties;
      // The default rounding mode breaks ties to even.
      mean[f] = static_cast<uint16_t>(std::nearbyint(static_cast<double>(sums[f]) / static_cast<double>(n)));
    }
    return mean;
  }

private:
  struct EntryT {
    int64_t AtMs = 0;
    ValuesT Values{};
  };
  std::array<EntryT, 512> Entries{};
  int64_t Count = 0;
};

std::string_view ExpectedReport(char (&out)[512], bool header, const LocalTimeT& t, const ValuesT& values) {
  size_t len = 0;
  if (header) {
    std::memcpy(out, Header.data(), Header.size());
    len = Header.size();
  }
  len += static_cast<size_t>(std::snprintf(out + len, sizeof out - len, "%02d-%02d-%02d %02d:%02d:%02d",
                                           t.Year % 100, t.Month, t.Day, t.Hour, t.Minute, t.Second));
  for (uint16_t v : values)
    len += static_cast<size_t>(std::snprintf(out + len, sizeof out - len, " %5u", unsigned{v}));
  len += static_cast<size_t>(std::snprintf(out + len, sizeof out - len, "\r\n"));
  return {out, len};
}

const char* KindName(PassKind kind) {
  switch (kind) {
    case PassKind::GoodFrame: return "good frame";
    case PassKind::ChecksumFailure: return "checksum failure";
    case PassKind::TimeOut: return "time-out";
  }
  return "?";
}

TEST(AllocationCounter, CountsCallsToOperatorNew) {
  StartCountingAllocations();
  void* volatile block = ::operator new(16);
  const int64_t counted = StopCountingAllocations();
  ::operator delete(block);
  EXPECT_EQ(counted, 1);
}

TEST(Soak, AWeekOfFaultyInputKeepsCadenceAveragesAndMemory) {
  Error::Prepare();
  // Everything big lives on the heap, set up before any counting starts.
  auto clock = std::make_unique<VirtualClock>();
  auto sensor = std::make_unique<SoakSensor>(*clock, Seed);
  auto serial = std::make_unique<TBlockSerial>(*sensor);
  auto console = std::make_unique<PassConsole>();
  auto program = std::make_unique<ProgramT>();
  auto record = std::make_unique<StoredRecord>();
  StartReporting(*program, *clock);

  int64_t passes = 0;
  int64_t rows = 0;
  int64_t sentIntact = 0;
  int64_t accepted = 0;
  int64_t warmUpAllocations = 0;
  int64_t loopAllocations = 0;
  int64_t ties = 0;
  int64_t lastRowMs = -1;
  int64_t shortestGapMs = INT64_MAX;
  int64_t longestGapMs = 0;
  size_t wallStepsDone = 0;
  ValuesT current{};  // the last good frame or the last average
  char expectedText[512];

  while (clock->NowMs < SimulatedMs) {
    console->Clear();
    const int64_t startMs = clock->NowMs;
    StartCountingAllocations();
    const std::optional<int> status = RunPass(*program, *serial, *clock, *console);
    const int64_t allocations = StopCountingAllocations();
    ++passes;
    const int64_t nowMs = clock->NowMs;

    ASSERT_FALSE(status.has_value()) << "program ended with " << *status << " in pass " << passes << " at "
                                     << nowMs << " ms";
    if (passes <= WarmUpPasses) {
      warmUpAllocations += allocations;
    } else {
      loopAllocations += allocations;
      ASSERT_EQ(allocations, 0) << "pass " << passes << " from " << startMs << " ms";
    }

    ExpectedPassT expected;
    ASSERT_TRUE(sensor->TakeExpected(expected)) << "pass " << passes << " at " << nowMs << " ms";
    ASSERT_EQ(nowMs, expected.EndMs) << "pass " << passes << ", a " << KindName(expected.Kind);
    ASSERT_EQ(program->ErrChecksumCount, expected.ChecksumCount) << "pass " << passes << " at " << nowMs;
    ASSERT_EQ(program->ErrTimeoutCount, expected.TimeoutCount) << "pass " << passes << " at " << nowMs;

    // Every pass stores one entry, from the first frame on.
    const HistoryT& history = program->History;
    ASSERT_LE(history.Len, HistoryCap);
    ASSERT_GE(history.Next, 0);
    ASSERT_LT(history.Next, HistoryCap);
    ASSERT_EQ(history.Len, std::min<int64_t>(passes, HistoryCap)) << "pass " << passes;
    ASSERT_EQ(history.Next, passes % HistoryCap) << "pass " << passes;
    const histPacketT& newest = history.Packets[(history.Next + HistoryCap - 1) % HistoryCap];
    ASSERT_EQ(newest.CapTime, nowMs) << "pass " << passes;
    if (expected.Kind == PassKind::GoodFrame) {
      ++sentIntact;
      ASSERT_EQ(newest.Packet, expected.Sent)
          << "frame sent intact at " << nowMs << " ms was not the one stored";
      ++accepted;
      current = ValuesOf(expected.Sent);
    } else {
      ASSERT_EQ(ValuesOf(newest.Packet), current) << "a " << KindName(expected.Kind) << " at " << nowMs
                                                  << " ms stored something else than the current packet";
    }
    record->Add(nowMs, current);

    ASSERT_FALSE(console->Overflowed);
    if (expected.RowDue) {
      const ValuesT mean = record->Average(nowMs, ties);
      const std::string_view want = ExpectedReport(expectedText, rows % 10 == 0, clock->LocalNow(), mean);
      ASSERT_EQ(console->View(), want) << "row " << rows + 1 << " at " << nowMs << " ms";
      if (lastRowMs >= 0) {
        const int64_t gapMs = nowMs - lastRowMs;
        ASSERT_GE(gapMs, 300'000) << "row " << rows + 1 << " at " << nowMs << " ms";
        ASSERT_LT(gapMs, 302'000) << "row " << rows + 1 << " at " << nowMs << " ms";
        shortestGapMs = std::min(shortestGapMs, gapMs);
        longestGapMs = std::max(longestGapMs, gapMs);
      }
      lastRowMs = nowMs;
      current = mean;
      ++rows;
    } else {
      ASSERT_EQ(console->View(), "") << "pass " << passes << " at " << nowMs << " ms";
    }

    while (wallStepsDone < WallSteps.size() && nowMs >= WallSteps[wallStepsDone].AtMs) {
      clock->WallOffsetMs += WallSteps[wallStepsDone++].DeltaMs;
    }
  }

  const FaultCountsT& faults = sensor->Faults();
  EXPECT_EQ(accepted, sentIntact);
  EXPECT_EQ(loopAllocations, 0);
  EXPECT_EQ(wallStepsDone, WallSteps.size());
  EXPECT_GE(rows, SimulatedMs / 302'000);
  // The run must have met every kind of fault, up to the limits.
  EXPECT_GT(faults.GarbageBursts, 0);
  EXPECT_GT(faults.StrayStarts, 0);
  EXPECT_GT(faults.DoubleStrayStarts, 0);
  EXPECT_GT(faults.SplitFrames, 0);
  EXPECT_EQ(faults.LongestChecksumRun, SoakSensor::MaxChecksumRun);
  EXPECT_EQ(faults.LongestSilence, SoakSensor::MaxSilence);
  EXPECT_GT(ties, 0);

  std::cout << "soak: " << SimulatedDays << " simulated days (" << clock->NowMs << " ms), " << passes
            << " passes, " << rows << " rows checked (gaps " << shortestGapMs << ".." << longestGapMs
            << " ms, " << ties << " half-way averages), " << accepted << " of " << sentIntact
            << " intact frames accepted; faults: " << faults.GarbageBursts << " garbage bursts ("
            << faults.GarbageBytes << " bytes), " << faults.StrayStarts << " stray 0x42, "
            << faults.DoubleStrayStarts << " double stray 0x42, " << faults.SplitFrames << " split frames, "
            << faults.ChecksumRuns << " checksum runs (" << faults.ChecksumFailures << " bad frames, longest "
            << faults.LongestChecksumRun << "), " << faults.Silences << " silences (" << faults.TimeOuts
            << " time-outs, longest " << faults.LongestSilence << "), " << wallStepsDone
            << " wall-clock steps; operator new in RunPass: " << warmUpAllocations << " in the first "
            << WarmUpPasses << " passes, " << loopAllocations << " after\n";
  ::testing::Test::RecordProperty("simulated_days", static_cast<int>(SimulatedDays));
  ::testing::Test::RecordProperty("passes", static_cast<int>(passes));
  ::testing::Test::RecordProperty("rows_checked", static_cast<int>(rows));
  ::testing::Test::RecordProperty("frames_accepted", static_cast<int>(accepted));
  ::testing::Test::RecordProperty("checksum_failures", static_cast<int>(faults.ChecksumFailures));
  ::testing::Test::RecordProperty("time_outs", static_cast<int>(faults.TimeOuts));
  ::testing::Test::RecordProperty("allocations_after_warm_up", static_cast<int>(loopAllocations));
}

}  // namespace
