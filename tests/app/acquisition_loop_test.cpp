#include "app/acquisition_loop.h"

#include <gtest/gtest.h>

#include "loop_fixture.h"
#include "sensor/sensor_errors.h"

namespace {

using AcquisitionLoop = LoopFixture;

const PacketT Good = MakePacket({3, 5, 6, 3, 5, 6, 840, 250, 40, 3, 1, 0});
const PacketT Other = MakePacket({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});

TEST_F(AcquisitionLoop, GoodFrameAfterTenChecksumFailuresResetsBothCounts) {
  // Three time-outs first: the good frame must clear those too.
  for (int i = 0; i < 10; ++i) SendBadChecksum(90'500, Other);
  Send(90'500, Good);
  ASSERT_TRUE(RunPasses(3));
  EXPECT_EQ(program.ErrTimeoutCount, 3);
  ASSERT_TRUE(RunPasses(10));
  EXPECT_EQ(program.ErrChecksumCount, 10);
  EXPECT_EQ(program.ErrTimeoutCount, 3);
  ASSERT_TRUE(RunPasses(1));
  EXPECT_EQ(program.ErrChecksumCount, 0);
  EXPECT_EQ(program.ErrTimeoutCount, 0);
  EXPECT_EQ(program.Packet, Good);
  EXPECT_EQ(console.Output, "");
}

TEST_F(AcquisitionLoop, EleventhChecksumFailureEndsTheProgram) {
  for (int i = 0; i < 11; ++i) SendBadChecksum(0, Good);
  Send(0, Good);
  EXPECT_EQ(RunAcquisitionLoop(program, serial, clock, console), 1);
  EXPECT_EQ(console.Output, "Checksum error count exceeded 10\r\n");
  // It ended on the eleventh bad frame, not before and not after.
  EXPECT_EQ(serial.Held() + device.Pending(), 32);
}

TEST_F(AcquisitionLoop, EleventhTimeOutEndsTheProgram) {
  EXPECT_EQ(RunAcquisitionLoop(program, serial, clock, console), 1);
  EXPECT_EQ(console.Output, "Timeout error count exceeded 10\r\n");
  EXPECT_GE(clock.NowMs, 330'000);
  EXPECT_LT(clock.NowMs, 331'000);
}

TEST_F(AcquisitionLoop, TimeOutsAndChecksumFailuresAreCountedApart) {
  // Five time-outs end at 150 s; the bad frames come just after.
  for (int i = 0; i < 6; ++i) SendBadChecksum(150'500, Good);
  ASSERT_TRUE(RunPasses(5 + 6 + 5));
  EXPECT_EQ(program.ErrTimeoutCount, 10);
  EXPECT_EQ(program.ErrChecksumCount, 6);
  EXPECT_EQ(console.Output, "");

  EXPECT_EQ(Pass(), 1);
  EXPECT_EQ(console.Output, "Timeout error count exceeded 10\r\n");
}

TEST_F(AcquisitionLoop, FailedReadLeavesThePacketAsItWas) {
  Send(0, Good);
  SendBadChecksum(1000, Other);
  ASSERT_TRUE(RunPasses(1));
  ASSERT_EQ(program.Packet, Good);
  ASSERT_TRUE(RunPasses(1));
  EXPECT_EQ(program.ErrChecksumCount, 1);
  EXPECT_EQ(program.Packet, Good);
  ASSERT_TRUE(RunPasses(1));
  EXPECT_EQ(program.ErrTimeoutCount, 1);
  EXPECT_EQ(program.Packet, Good);
}

TEST_F(AcquisitionLoop, BadLengthWordEndsThePassWithItsError) {
  PacketT wrongLength = Good;
  wrongLength.FrameLen = 27;
  Send(0, wrongLength);
  EXPECT_THROW(Pass(), EFrameLen);
}

TEST_F(AcquisitionLoop, HangUpEndsThePassWithItsError) {
  Send(0, Good);
  device.HangUpAt(5000);
  ASSERT_TRUE(RunPasses(1));
  EXPECT_THROW(Pass(), ESynaSerError);
}

}  // namespace
