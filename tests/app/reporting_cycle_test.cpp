#include "app/reporting_cycle.h"

#include <gtest/gtest.h>

#include <functional>

#include "loop_fixture.h"

namespace {

const std::string Header =
    "--date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P  0.5P  1.0P  2.5P  5.0P 10.0P";
const std::string HeaderAndRule = Header + "\r\n" + std::string(90, '-') + "\r\n";

// The clock's wall time is 2024-03-05 07:08:00 at 0.
constexpr const char* RowsAt300s = "24-03-05 07:13:00 ";

// Frame i: field 0 is 2i, so the average tells the oldest and newest frame
// counted; field 1 is 60200 on every 300th frame, so it tells how many.
PacketT Counting(int i) {
  return MakePacket({static_cast<uint16_t>(2 * i), static_cast<uint16_t>(i % 300 == 0 ? 60200 : 0), 6, 3, 5,
                     6, 840, 250, 40, 3, 1, 0});
}

struct ReportingCycle : LoopFixture {
  // Frames first..last, one a second from startMs + first * 1000.
  void SendEverySecond(int first, int last, const std::function<PacketT(int)>& packetOf,
                       int64_t startMs = 0) {
    for (int i = first; i <= last; ++i) Send(startMs + i * 1000, packetOf(i));
  }
  // The text the next pass writes.
  std::string PassOutput() {
    const size_t before = console.Output.size();
    EXPECT_FALSE(Pass().has_value());
    return console.Output.substr(before);
  }
};

PacketT Measurements(const std::array<uint16_t, MeasurementCount>& values) {
  PacketT packet;
  for (int f = 0; f < MeasurementCount; ++f) packet.*MeasurementFields[f] = values[f];
  return packet;
}

TEST_F(ReportingCycle, FirstRowComesAfterThreeHundredSecondsAndAveragesThem) {
  SendEverySecond(0, 300, Counting);
  // Passes 0..299 end at 0..299 s.
  ASSERT_TRUE(RunPasses(300));
  EXPECT_EQ(clock.NowMs, 299'000);
  EXPECT_EQ(console.Output, "");

  // Frames 0..300: 301 entries, frame 0 exactly 300 s old.
  EXPECT_EQ(PassOutput(), HeaderAndRule + RowsAt300s +
                              "  300   400     6     3     5     6   840   250    40     3     1     0\r\n");
  EXPECT_EQ(program.Packet, Measurements({300, 400, 6, 3, 5, 6, 840, 250, 40, 3, 1, 0}));
  EXPECT_EQ(program.AvgTimer, 300'000);
}

TEST_F(ReportingCycle, NextRowCountsAgainTheEntryStoredWithTheLastRow) {
  SendEverySecond(0, 600, Counting);
  ASSERT_TRUE(RunPasses(301));
  ASSERT_NE(console.Output, "");
  const std::string first = console.Output;
  // The timer restarted with the row: nothing until 600 s.
  ASSERT_TRUE(RunPasses(299));
  EXPECT_EQ(console.Output, first);

  // Frames 300..600: 301 entries, frame 300 in both rows.
  EXPECT_EQ(PassOutput(),
            "24-03-05 07:18:00   900   400     6     3     5     6   840   250    40     3     1     0\r\n");
}

TEST_F(ReportingCycle, ChecksumFailureStoresThePreviousPacketAtItsOwnTime) {
  // Frame 299 carries 30100 in field 2; frame 300 fails its checksum.
  const auto packetOf = [](int i) {
    return MakePacket({static_cast<uint16_t>(2 * i), 0, static_cast<uint16_t>(i == 299 ? 30100 : 0), 0, 0, 0,
                       0, 0, 0, 0, 0, 0});
  };
  SendEverySecond(0, 299, packetOf);
  SendBadChecksum(300'000, packetOf(300));
  SendEverySecond(301, 600, packetOf);

  ASSERT_TRUE(RunPasses(300));
  // Frames 0..299 and frame 299 again: 90298 / 301 and 60200 / 301.
  EXPECT_EQ(PassOutput(), HeaderAndRule + RowsAt300s +
                              "  300     0   200     0     0     0     0     0     0     0     0     0\r\n");
  ASSERT_TRUE(RunPasses(299));
  // The repeat is stamped 300 s, inside the next window; frame 299 itself is not.
  // Frames 301..600 and the repeat: 270898 / 301 and 30100 / 301.
  EXPECT_EQ(PassOutput(),
            "24-03-05 07:18:00   900     0   100     0     0     0     0     0     0     0     0     0\r\n");
}

TEST_F(ReportingCycle, FailedReadAfterARowStoresTheAverage) {
  SendEverySecond(0, 300, Counting);
  SendBadChecksum(301'000, Counting(301));
  ASSERT_TRUE(RunPasses(301));
  const PacketT average = program.Packet;
  ASSERT_NE(average, Counting(300));
  ASSERT_TRUE(RunPasses(1));
  EXPECT_EQ(program.ErrChecksumCount, 1);
  const histPacketT& last =
      program.History.Packets[(program.History.Next + MaxPacketHistory - 1) % MaxPacketHistory];
  EXPECT_EQ(last.CapTime, 301'000);
  EXPECT_EQ(last.Packet, average);
}

TEST_F(ReportingCycle, HeaderBeforeRowsOneElevenAndTwentyOne) {
  // One frame every 20 s keeps the run short; fifteen passes make a row.
  for (int i = 0; i <= 21 * 15; ++i) Send(i * 20'000, Counting(1));
  ASSERT_TRUE(RunPasses(1));
  for (int row = 1; row <= 21; ++row) {
    ASSERT_TRUE(RunPasses(14));
    const std::string text = PassOutput();
    const bool headed = row == 1 || row == 11 || row == 21;
    EXPECT_EQ(text.starts_with(HeaderAndRule), headed) << "row " << row;
    EXPECT_EQ(text.size(), (headed ? HeaderAndRule.size() : 0) + 91) << "row " << row;
  }
}

TEST_F(ReportingCycle, SilentStartStoresNothing) {
  // Two time-outs, then frames from 60.5 s on.
  SendEverySecond(
      0, 240,
      [](int) {
        return MakePacket({3, 5, 6, 3, 5, 6, 840, 250, 40, 3, 1, 0});
      },
      60'500);
  ASSERT_TRUE(RunPasses(2));
  EXPECT_EQ(program.ErrTimeoutCount, 2);
  EXPECT_EQ(program.History.Len, 0);
  ASSERT_TRUE(RunPasses(240));
  EXPECT_EQ(console.Output, "");
  // The row at 300.5 s averages the 241 frames alone.
  EXPECT_EQ(PassOutput(), HeaderAndRule + "24-03-05 07:13:00 " +
                              "    3     5     6     3     5     6   840   250    40     3     1     0\r\n");
}

TEST_F(ReportingCycle, RowDueWithNothingStoredIsSkippedAndTheTimerRestarts) {
  SendEverySecond(0, 300, Counting, 300'500);
  // Ten time-outs take the run to 300 s, when the first row falls due.
  ASSERT_TRUE(RunPasses(10));
  EXPECT_EQ(clock.NowMs, 300'000);
  EXPECT_EQ(console.Output, "");
  EXPECT_EQ(program.AvgTimer, 300'000);

  ASSERT_TRUE(RunPasses(300));
  EXPECT_EQ(program.ErrTimeoutCount, 0);
  EXPECT_EQ(console.Output, "");
  // 600.5 s: frames 0..300 of this run.
  EXPECT_EQ(PassOutput(), HeaderAndRule + "24-03-05 07:18:00 " +
                              "  300   400     6     3     5     6   840   250    40     3     1     0\r\n");
}

TEST_F(ReportingCycle, FailedReadsAfterAGoodFrameKeepStoringIt) {
  const PacketT good = MakePacket({3, 5, 6, 3, 5, 6, 840, 250, 40, 3, 1, 0});
  Send(0, good);
  ASSERT_TRUE(RunPasses(1));
  for (int timeOuts = 1; timeOuts <= 9; ++timeOuts) {
    ASSERT_TRUE(RunPasses(1));
    EXPECT_EQ(program.History.Len, 1 + timeOuts);
  }
  // The tenth time-out lands on 300 s: eleven copies of the frame.
  EXPECT_EQ(PassOutput(), HeaderAndRule + RowsAt300s +
                              "    3     5     6     3     5     6   840   250    40     3     1     0\r\n");
  EXPECT_EQ(program.History.Len, 11);
}

TEST_F(ReportingCycle, WallClockStepMovesOnlyTheStamp) {
  SendEverySecond(0, 600, Counting);
  ASSERT_TRUE(RunPasses(150));
  clock.WallOffsetMs = 3'600'000;
  ASSERT_TRUE(RunPasses(150));
  EXPECT_EQ(console.Output, "");
  EXPECT_EQ(PassOutput(), HeaderAndRule + "24-03-05 08:13:00 " +
                              "  300   400     6     3     5     6   840   250    40     3     1     0\r\n");
  ASSERT_TRUE(RunPasses(150));
  clock.WallOffsetMs = -3'600'000;
  ASSERT_TRUE(RunPasses(149));
  EXPECT_EQ(console.Output.size(), HeaderAndRule.size() + 91);
  EXPECT_EQ(PassOutput(),
            "24-03-05 06:18:00   900   400     6     3     5     6   840   250    40     3     1     0\r\n");
}

}  // namespace
