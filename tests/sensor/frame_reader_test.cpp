#include "sensor/frame_reader.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "sensor/sensor_errors.h"
#include "sim_frames.h"
#include "support/scripted_serial.h"

namespace {

constexpr int64_t TimeoutMs = 30'000;  // Timeout in ms

std::vector<uint8_t> Bytes(const FrameBytesT& frame) { return {frame.begin(), frame.end()}; }

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A frame whose length word is wrong but whose checksum matches its bytes.
FrameBytesT FrameWithLength(uint16_t frameLen) {
  PacketT packet = SamplePacket(1);
  packet.FrameLen = frameLen;
  return EncodeFrame(packet);
}

struct ReaderFixture : ::testing::Test {
  VirtualClock clock;
  ScriptedSerial device{clock};
  TBlockSerial serial{device};

  // Each byte in its own burst, gapMs apart, the first at firstMs.
  void Trickle(const std::vector<uint8_t>& bytes, int64_t firstMs, int64_t gapMs) {
    for (size_t i = 0; i < bytes.size(); ++i)
      device.At(firstMs + static_cast<int64_t>(i) * gapMs, {bytes[i]});
  }
};

TEST_F(ReaderFixture, AllZeroFrameHasChecksum00AB) {
  device.At(0, {0x42, 0x4D, 0x00, 0x1C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    0,
                0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0xAB});
  PacketT expected = MakePacket({});
  EXPECT_EQ(expected.Checksum, 0x00AB);
  EXPECT_EQ(GetPacket(serial, clock), expected);
}

TEST_F(ReaderFixture, FieldsAreBigEndianAndChecksumIsA16BitSum) {
  // Nearly all bytes 0xFF: the sum 0x1896 needs its high byte, and each word its byte order.
  const PacketT sent = MakePacket(
      {0xFFFF, 0x0102, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
      0xFFFF);
  device.At(0, Bytes(EncodeFrame(sent)));
  const PacketT got = GetPacket(serial, clock);
  EXPECT_EQ(got, sent);
  EXPECT_EQ(got.PM25Std, 0x0102);
  EXPECT_EQ(got.Checksum, 0x1896);
}

TEST_F(ReaderFixture, WholeQueuedFrameIsReturnedWithoutWaitingForTheNext) {
  const PacketT sent = SamplePacket(3);
  device.At(0, Bytes(EncodeFrame(sent)));
  device.At(1000, Bytes(EncodeFrame(SamplePacket(4))));
  EXPECT_EQ(GetPacket(serial, clock), sent);
  EXPECT_EQ(clock.NowMs, 0);
  EXPECT_EQ(device.WaitCalls, 0);
}

// Bytes before a start pair are skipped; a 0x42 where 0x4D was expected may
// itself be the first start byte. Exactly prefix + one frame is consumed.
TEST_F(ReaderFixture, FrameSearchSkipsGarbageBeforeTheStartPair) {
  const std::vector<std::vector<uint8_t>> prefixes = {
      {},
      {0x00},
      {0x4D},
      {0x42},
      {0x42, 0x42},
      {0x42, 0x42, 0x42},
      {0x4D, 0x42},
      {0x42, 0x00},
      {0x4D, 0x4D},
      {0x42, 0x00, 0x4D},
      {0x00, 0x42, 0x4C, 0x4D, 0xFF},
  };
  const PacketT sent = SamplePacket(5);
  const PacketT next = SamplePacket(6);
  for (const std::vector<uint8_t>& prefix : prefixes) {
    SCOPED_TRACE(::testing::PrintToString(prefix));
    VirtualClock caseClock;
    ScriptedSerial caseDevice{caseClock};
    TBlockSerial caseSerial{caseDevice};
    caseDevice.At(0, Concat(Concat(prefix, Bytes(EncodeFrame(sent))), Bytes(EncodeFrame(next))));
    EXPECT_EQ(GetPacket(caseSerial, caseClock), sent);
    EXPECT_EQ(caseSerial.Held(), FrameBytes);
    EXPECT_EQ(GetPacket(caseSerial, caseClock), next);
  }
}

// Reading starts mid-frame; the cut frame ends in 0x42 (its checksum low byte),
// directly followed by the next frame: 0x42 0x42 0x4D must not lose that frame.
TEST_F(ReaderFixture, FrameAfterATailEndingIn42IsFound) {
  const PacketT cut = MakePacket({0x0097});
  ASSERT_EQ(cut.Checksum & 0xFF, 0x42);
  const FrameBytesT cutBytes = EncodeFrame(cut);
  const PacketT sent = SamplePacket(7);
  for (int start : {5, 30, 31}) {
    SCOPED_TRACE(start);
    VirtualClock caseClock;
    ScriptedSerial caseDevice{caseClock};
    TBlockSerial caseSerial{caseDevice};
    caseDevice.At(0, Concat({cutBytes.begin() + start, cutBytes.end()}, Bytes(EncodeFrame(sent))));
    EXPECT_EQ(GetPacket(caseSerial, caseClock), sent);
    EXPECT_EQ(caseDevice.Pending() + static_cast<size_t>(caseSerial.Held()), 0u);
  }
}

TEST_F(ReaderFixture, WrongFrameLenRaisesAfterFourBytesLeavingTheRestUnread) {
  for (uint16_t frameLen : {uint16_t{0}, uint16_t{27}, uint16_t{29}, uint16_t{0x1C00}, uint16_t{0xFFFF}}) {
    SCOPED_TRACE(frameLen);
    VirtualClock caseClock;
    ScriptedSerial caseDevice{caseClock};
    TBlockSerial caseSerial{caseDevice};
    const FrameBytesT frame = FrameWithLength(frameLen);
    // One byte per millisecond: what is still pending is exactly what was not read.
    for (int i = 0; i < FrameBytes; ++i) caseDevice.At(i, {frame[i]});
    const PacketT before = SamplePacket(9);
    PacketT packet = before;
    EXPECT_THROW(packet = GetPacket(caseSerial, caseClock), EFrameLen);
    EXPECT_EQ(packet, before);
    EXPECT_EQ(caseSerial.Held(), 0);
    EXPECT_EQ(caseDevice.Pending(), size_t{FrameBytes - 4});
    EXPECT_EQ(GetByte(caseSerial, caseClock), frame[4]);
  }
}

TEST_F(ReaderFixture, WrongFrameLenInAWholeBurstKeepsTheRestHeld) {
  const FrameBytesT frame = FrameWithLength(27);
  device.At(0, Bytes(frame));
  EXPECT_THROW(GetPacket(serial, clock), EFrameLen);
  EXPECT_EQ(serial.Held(), FrameBytes - 4);
  EXPECT_EQ(GetByte(serial, clock), frame[4]);
}

// A corrupt frame is read to its end, so the next frame is read intact.
TEST_F(ReaderFixture, WrongChecksumRaisesOnlyAfterAll32Bytes) {
  struct CorruptionT {
    const char* Name;
    int Offset;
    uint8_t Xor;
  };
  const CorruptionT corruptions[] = {
      {"checksum low byte", 31, 0x01},
      {"checksum high byte", 30, 0x01},
      {"measurement byte", 9, 0x10},
      {"filler byte", 29, 0x80},
  };
  const PacketT next = SamplePacket(2);
  for (const CorruptionT& corruption : corruptions) {
    SCOPED_TRACE(corruption.Name);
    VirtualClock caseClock;
    ScriptedSerial caseDevice{caseClock};
    TBlockSerial caseSerial{caseDevice};
    FrameBytesT bad = EncodeFrame(SamplePacket(1));
    bad[corruption.Offset] ^= corruption.Xor;
    caseDevice.At(0, Concat(Bytes(bad), Bytes(EncodeFrame(next))));
    const PacketT before = SamplePacket(9);
    PacketT packet = before;
    EXPECT_THROW(packet = GetPacket(caseSerial, caseClock), EChecksum);
    EXPECT_EQ(packet, before);
    EXPECT_EQ(caseSerial.Held(), FrameBytes);
    EXPECT_EQ(GetPacket(caseSerial, caseClock), next);
  }
}

TEST_F(ReaderFixture, GetByteReturnsHeldAndQueuedBytesAtOnce) {
  clock.NowMs = 7000;
  device.At(0, {0x11, 0x22});
  EXPECT_EQ(GetByte(serial, clock), 0x11);  // queued
  EXPECT_EQ(GetByte(serial, clock), 0x22);  // held
  EXPECT_EQ(clock.NowMs, 7000);
  EXPECT_EQ(device.WaitCalls, 0);
}

TEST_F(ReaderFixture, GetByteToleratesSilenceJustUnder30Seconds) {
  clock.NowMs = 5000;  // the allowance runs from the call, not from zero
  device.At(5000 + TimeoutMs - 1, {0x5A});
  EXPECT_EQ(GetByte(serial, clock), 0x5A);
  EXPECT_EQ(clock.NowMs, 5000 + TimeoutMs - 1);
  EXPECT_LE(device.WaitCalls, 2);
}

// Empty bursts wake the reader without data: 29.999 s is still 29 whole seconds.
TEST_F(ReaderFixture, GetByteTruncatesElapsedTimeToWholeSeconds) {
  device.At(TimeoutMs - 500, {});
  device.At(TimeoutMs - 1, {});
  device.At(TimeoutMs + 100, {0x5A});
  EXPECT_THROW(GetByte(serial, clock), ETimeout);
  EXPECT_EQ(clock.NowMs, TimeoutMs);
  EXPECT_EQ(device.WaitCalls, 3);
}

TEST_F(ReaderFixture, GetByteRaisesETimeoutAfter30SecondsWithoutSpinning) {
  clock.NowMs = 5000;
  device.At(5000 + TimeoutMs + 500, {0x5A});
  EXPECT_THROW(GetByte(serial, clock), ETimeout);
  EXPECT_EQ(clock.NowMs, 5000 + TimeoutMs);
  EXPECT_LE(device.WaitCalls, 2);  // a 10 ms polling loop would make 3000
  EXPECT_EQ(device.Pending(), 1u);
}

TEST_F(ReaderFixture, AllowanceIsPerByteSoASlowFrameNeverTimesOut) {
  const PacketT sent = SamplePacket(8);
  Trickle(Bytes(EncodeFrame(sent)), 20'000, 20'000);
  EXPECT_EQ(GetPacket(serial, clock), sent);
  EXPECT_EQ(clock.NowMs, 20'000 * FrameBytes);
}

TEST_F(ReaderFixture, HeldBytesComeFirstAndInOrder) {
  const FrameBytesT first = EncodeFrame(SamplePacket(1));
  const FrameBytesT second = EncodeFrame(SamplePacket(2));
  // The second frame is split: its head arrives with the first frame.
  device.At(0, Concat(Bytes(first), {second.begin(), second.begin() + 10}));
  device.At(1000, {second.begin() + 10, second.end()});
  EXPECT_EQ(GetPacket(serial, clock), SamplePacket(1));
  EXPECT_EQ(clock.NowMs, 0);
  EXPECT_EQ(GetPacket(serial, clock), SamplePacket(2));
  EXPECT_EQ(clock.NowMs, 1000);
}

TEST_F(ReaderFixture, BurstOfFramesIsOneReadAndDeliveredWhileTheSensorIsSilent) {
  std::vector<uint8_t> burst;
  for (uint32_t seq = 0; seq < 5; ++seq) burst = Concat(burst, Bytes(EncodeFrame(SamplePacket(seq))));
  device.At(0, burst);
  for (uint32_t seq = 0; seq < 5; ++seq) EXPECT_EQ(GetPacket(serial, clock), SamplePacket(seq));
  EXPECT_EQ(device.ReadCalls, 1);
  EXPECT_EQ(device.WaitCalls, 0);
  EXPECT_EQ(clock.NowMs, 0);
  EXPECT_THROW(GetPacket(serial, clock), ETimeout);
  EXPECT_EQ(clock.NowMs, TimeoutMs);
}

// A sensor sends one frame a second, each in one burst: the reader sleeps in
// one poll per frame and takes the frame in one read, never asking the queue
// size before or after.
TEST_F(ReaderFixture, FramesArrivingOneBurstEachCostOnePollAndOneRead) {
  constexpr int Frames = 5;
  for (uint32_t seq = 0; seq < Frames; ++seq)
    device.At(500 + seq * 1000, Bytes(EncodeFrame(SamplePacket(seq))));
  for (uint32_t seq = 0; seq < Frames; ++seq) EXPECT_EQ(GetPacket(serial, clock), SamplePacket(seq));
  EXPECT_EQ(device.QueuedCalls, 0);
  EXPECT_EQ(device.PollCalls, Frames);
  EXPECT_EQ(device.ReadCalls, Frames);
  EXPECT_EQ(clock.NowMs, 500 + (Frames - 1) * 1000);
}

TEST_F(ReaderFixture, RecvByteWaitsForAByteThenRaises9997) {
  device.At(20, {0x33});
  EXPECT_EQ(serial.RecvByte(50), 0x33);
  EXPECT_EQ(clock.NowMs, 20);
  try {
    serial.RecvByte(50);
    FAIL() << "no ESynaSerError";
  } catch (const ESynaSerError& error) {
    EXPECT_EQ(error.ErrorCode(), 9997);
    EXPECT_STREQ(error.Message(), "Communication error 9997: Timeout during operation");
  }
  EXPECT_EQ(clock.NowMs, 70);
}

TEST_F(ReaderFixture, HangUpRaisesESynaSerErrorAtOnce) {
  const FrameBytesT frame = EncodeFrame(SamplePacket(1));
  device.At(0, {frame.begin(), frame.begin() + 10});
  device.HangUpAt(500);
  try {
    GetPacket(serial, clock);
    FAIL() << "no ESynaSerError";
  } catch (const ESynaSerError& error) {
    EXPECT_EQ(error.ErrorCode(), EIO);
    EXPECT_STREQ(error.Message(), ESynaSerError(EIO).Message());
  }
  EXPECT_EQ(clock.NowMs, 500);
}

}  // namespace
