#include "sensor/frame_reader.h"

#include <gtest/gtest.h>

#include "sensor/sensor_errors.h"
#include "sim_frames.h"
#include "support/scripted_serial.h"

namespace {

std::vector<uint8_t> Bytes(const FrameBytesT& frame) { return {frame.begin(), frame.end()}; }

struct ReaderFixture : ::testing::Test {
  VirtualClock clock;
  ScriptedSerial device{clock};
  TBlockSerial serial{device};
};

TEST_F(ReaderFixture, AllZeroFrameHasChecksum00AB) {
  device.At(0, {0x42, 0x4D, 0x00, 0x1C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0xAB});
  const PacketT packet = GetPacket(serial, clock);
  EXPECT_EQ(packet.FrameLen, 28);
  EXPECT_EQ(packet.Checksum, 0x00AB);
}

TEST_F(ReaderFixture, WholeQueuedFrameIsReturnedWithoutWaitingForTheNext) {
  const PacketT sent = SamplePacket(3);
  device.At(0, Bytes(EncodeFrame(sent)));
  device.At(1000, Bytes(EncodeFrame(SamplePacket(4))));
  EXPECT_EQ(GetPacket(serial, clock), sent);
  EXPECT_EQ(clock.NowMs, 0);
  EXPECT_EQ(device.WaitCalls, 0);
}

}  // namespace
