#include "sensor/frame_reader.h"

#include "sensor/sensor_errors.h"

namespace {

constexpr int RecvWait = 50;  // milliseconds; never reached, a byte is ready
constexpr int64_t TimeoutMs = int64_t{Timeout} * 1000;
#ifdef DUSTLOG_POLL_10MS
constexpr int64_t PollSliceMs = 10;
#endif

}  // namespace

uint8_t GetByte(TBlockSerial& ComCB, Clock& clock) {
  // Most bytes are already held: return them without reading the clock.
  if (ComCB.Held() == 0) {
    // Sleep in the system until a burst arrives or the allowance is used up;
    // an early wake-up without data just waits for the rest.
    const int64_t timer = clock.MonotonicMs();
    int64_t now = timer;
    for (;;) {
      int64_t waitMs = TimeoutMs - (now - timer);
#ifdef DUSTLOG_POLL_10MS
      // Comparison build for scripts/monitor-cost: wakes every 10 ms like a polling reader.
      if (waitMs > PollSliceMs) waitMs = PollSliceMs;
#endif
      if (ComCB.Refill(waitMs)) break;
      now = clock.MonotonicMs();
      if (SecondsBetween(timer, now) >= Timeout) throw ETimeout();
    }
  }
  return ComCB.RecvByte(RecvWait);
}

uint16_t GetWord(TBlockSerial& ComCB, Clock& clock, uint16_t& checksum) {
  const uint8_t msb = GetByte(ComCB, clock);
  const uint8_t lsb = GetByte(ComCB, clock);
  // At most 30 bytes of 255 are summed: the 16-bit sum cannot wrap.
  checksum = static_cast<uint16_t>(checksum + msb + lsb);
  return static_cast<uint16_t>(msb << 8 | lsb);
}

PacketT GetPacket(TBlockSerial& ComCB, Clock& clock) {
  // A 0x42 where 0x4D was expected may itself start the frame.
  uint8_t byte = GetByte(ComCB, clock);
  for (;;) {
    if (byte != FrameStart1) {
      byte = GetByte(ComCB, clock);
      continue;
    }
    byte = GetByte(ComCB, clock);
    if (byte == FrameStart2) break;
  }

  PacketT packet;
  packet.Hdr1 = FrameStart1;
  packet.Hdr2 = FrameStart2;
  uint16_t calcChecksum = FrameStart1 + FrameStart2;

  packet.FrameLen = GetWord(ComCB, clock, calcChecksum);
  if (packet.FrameLen != FrameLength) throw EFrameLen();

  for (uint16_t PacketT::*field : MeasurementFields) packet.*field = GetWord(ComCB, clock, calcChecksum);
  packet.Filler = GetWord(ComCB, clock, calcChecksum);

  const uint16_t finalChecksum = calcChecksum;
  packet.Checksum = GetWord(ComCB, clock, calcChecksum);
  if (packet.Checksum != finalChecksum) throw EChecksum();
  return packet;
}
