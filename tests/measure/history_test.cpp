#include "measure/history.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <vector>

#include "sim_frames.h"

namespace {

PacketT Uniform(uint16_t value) {
  PacketT packet;
  for (uint16_t PacketT::*field : MeasurementFields) packet.*field = value;
  return packet;
}

// Every field of the average must agree; the first mismatch is enough to report.
void ExpectUniformAverage(const std::optional<PacketT>& average, uint16_t expected) {
  ASSERT_TRUE(average.has_value());
  for (int f = 0; f < MeasurementCount; ++f) {
    ASSERT_EQ((*average).*MeasurementFields[f], expected) << "field " << f;
  }
}

TEST(History, FreshRingAveragesOnlyTheEntriesAdded) {
  HistoryT history;
  HistoryInit(history);
  // Unfilled entries carry time 0, inside the window: counting them would drag the average down.
  HistoryAdd(history, Uniform(3), 0);
  HistoryAdd(history, Uniform(6), 1000);
  HistoryAdd(history, Uniform(9), 2000);
  EXPECT_EQ(history.Len, 3);
  EXPECT_EQ(history.Next, 3);
  ExpectUniformAverage(HistoryAvg(300, history, 2000), 6);
}

TEST(History, EmptyRingHasNoAverage) {
  HistoryT history;
  HistoryInit(history);
  EXPECT_FALSE(HistoryAvg(300, history, 0).has_value());
}

TEST(History, FullRingOverwritesTheOldestAndScansFromIt) {
  HistoryT history;
  HistoryInit(history);
  for (int i = 0; i <= MaxPacketHistory; ++i)
    HistoryAdd(history, Uniform(static_cast<uint16_t>(2 * i)), i * 1000);
  EXPECT_EQ(history.Len, 360);
  EXPECT_EQ(history.Next, 1);
  EXPECT_EQ(history.Packets[0].Packet, Uniform(720));
  EXPECT_EQ(history.Packets[0].CapTime, 360'000);
  EXPECT_EQ(history.Packets[1].CapTime, 1000);

  // Wide window: packets 1..360, sum 2 * 64980 over 360.
  ExpectUniformAverage(HistoryAvg(100'000, history, 360'000), 361);
  // Packets 1..59 sit at the start of the scan and are too old; 60..360 remain.
  ExpectUniformAverage(HistoryAvg(300, history, 360'000), 420);
}

TEST(History, OldEntryInsideTheScanDoesNotEndIt) {
  HistoryT history;
  HistoryInit(history);
  HistoryAdd(history, Uniform(10), 400'000);
  HistoryAdd(history, Uniform(1000), 0);
  HistoryAdd(history, Uniform(20), 400'000);
  ExpectUniformAverage(HistoryAvg(300, history, 400'000), 15);

  // The same in a wrapped ring, the stale entry in the middle of the scan
  // order: 200 entries of 30 before it, 159 of 50 after it.
  for (int i = 0; i < MaxPacketHistory; ++i) {
    if (i == 200) {
      HistoryAdd(history, Uniform(1000), 0);
    } else {
      HistoryAdd(history, Uniform(i < 200 ? 30 : 50), 400'000);
    }
  }
  EXPECT_EQ(history.Next, 3);
  ExpectUniformAverage(HistoryAvg(300, history, 400'000), 39);
}

TEST(History, WindowIncludesWholeSecondsUpToItsLength) {
  struct Case {
    int64_t AgeMs;
    bool Counted;
  };
  const Case cases[] = {
      {0, true}, {299'999, true}, {300'000, true}, {300'999, true}, {301'000, false}, {5'000'000, false},
  };
  for (const Case& c : cases) {
    HistoryT history;
    HistoryInit(history);
    const int64_t now = 1'000'000;
    HistoryAdd(history, Uniform(100), now - c.AgeMs);
    HistoryAdd(history, Uniform(200), now);
    ExpectUniformAverage(HistoryAvg(300, history, now), c.Counted ? 150 : 200);
  }
}

TEST(History, NoEntryInsideTheWindowGivesNoAverage) {
  HistoryT history;
  HistoryInit(history);
  HistoryAdd(history, Uniform(5), 0);
  HistoryAdd(history, Uniform(7), 1000);
  EXPECT_FALSE(HistoryAvg(300, history, 302'000).has_value());
  // A stamp far in the future is just as far outside.
  EXPECT_FALSE(HistoryAvg(300, history, -400'000).has_value());
}

TEST(History, AverageRoundsHalvesToEven) {
  struct Case {
    std::vector<uint16_t> Values;
    uint16_t Average;
  };
  const Case cases[] = {
      {{2, 3}, 2},
      {{3, 4}, 4},
      {{1, 2, 2}, 2},
      {{65535, 65535}, 65535},
      {{0, 1}, 0},
      {{1, 2}, 2},
      {{0, 0, 1}, 0},
      {{1, 1, 2, 2}, 2},
      {{5, 6}, 6},
      {{7, 8}, 8},
      {{2, 3, 3, 3}, 3},
      {{1, 1, 2}, 1},
      {{65534, 65535}, 65534},
      {{0}, 0},
      {{65535}, 65535},
  };
  for (const Case& c : cases) {
    HistoryT history;
    HistoryInit(history);
    for (uint16_t value : c.Values) HistoryAdd(history, Uniform(value), 0);
    SCOPED_TRACE(::testing::PrintToString(c.Values));
    ExpectUniformAverage(HistoryAvg(300, history, 0), c.Average);
  }
}

TEST(History, FullRingOfLargestValuesDoesNotOverflow) {
  HistoryT history;
  HistoryInit(history);
  for (int i = 0; i < MaxPacketHistory; ++i) HistoryAdd(history, Uniform(65535), 0);
  ExpectUniformAverage(HistoryAvg(300, history, 0), 65535);
}

TEST(History, AverageSetsOnlyTheMeasurementFields) {
  HistoryT history;
  HistoryInit(history);
  HistoryAdd(history, MakePacket({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 0x1234), 0);
  HistoryAdd(history, MakePacket({3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, 0x1234), 0);
  PacketT expected;
  const uint16_t values[MeasurementCount] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  for (int f = 0; f < MeasurementCount; ++f) expected.*MeasurementFields[f] = values[f];
  const auto average = HistoryAvg(300, history, 0);
  ASSERT_TRUE(average.has_value());
  EXPECT_EQ(*average, expected);
}

uint32_t ReferenceRounded(uint32_t sum, uint32_t count) {
  return static_cast<uint32_t>(std::nearbyint(static_cast<long double>(sum) / count));
}

TEST(RoundedQuotient, MatchesRoundToNearestEvenOverTheWholeRange) {
  const int savedMode = std::fegetround();
  ASSERT_EQ(std::fesetround(FE_TONEAREST), 0);
  constexpr uint32_t MaxSum = 360u * 65535u;
  int mismatches = 0;
  for (uint32_t count = 1; count <= 360 && mismatches < 5; ++count) {
    std::vector<uint32_t> sums;
    for (uint32_t sum = 0; sum <= MaxSum; sum += 7919) sums.push_back(sum);
    sums.push_back(MaxSum);
    // Around exact halves, where the rounding rule decides.
    for (uint32_t q : {0u, 1u, 2u, 3u, 100u, 101u, 65534u, 65535u}) {
      const uint32_t base = q * count + count / 2;
      for (uint32_t sum : {base - 1, base, base + 1, base + 2}) {
        if (sum <= MaxSum) sums.push_back(sum);
      }
    }
    for (uint32_t sum : sums) {
      const uint32_t expected = ReferenceRounded(sum, count);
      if (RoundedQuotient(sum, count) != expected) {
        ADD_FAILURE() << sum << " / " << count << ": got " << RoundedQuotient(sum, count) << ", expected "
                      << expected;
        ++mismatches;
      }
    }
  }
  std::fesetround(savedMode);
}

}  // namespace
