#include "sim_frames.h"

namespace {

void PutWord(FrameBytesT& frame, int offset, uint16_t word) {
  frame[offset] = static_cast<uint8_t>(word >> 8);
  frame[offset + 1] = static_cast<uint8_t>(word & 0xFF);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

FrameBytesT EncodeFrame(const PacketT& packet) {
  FrameBytesT frame{};
  frame[0] = FrameStart1;
  frame[1] = FrameStart2;
  PutWord(frame, 2, packet.FrameLen);
  int offset = 4;
  for (uint16_t PacketT::*field : MeasurementFields) {
    PutWord(frame, offset, packet.*field);
    offset += 2;
  }
  PutWord(frame, offset, packet.Filler);
  uint16_t sum = 0;
  for (int i = 0; i < FrameBytes - 2; ++i) sum = static_cast<uint16_t>(sum + frame[i]);
  PutWord(frame, FrameBytes - 2, sum);
  return frame;
}

PacketT MakePacket(const std::array<uint16_t, MeasurementCount>& values, uint16_t filler) {
  PacketT packet;
  packet.Hdr1 = FrameStart1;
  packet.Hdr2 = FrameStart2;
  packet.FrameLen = FrameLength;
  for (int f = 0; f < MeasurementCount; ++f) packet.*MeasurementFields[f] = values[f];
  packet.Filler = filler;
  const FrameBytesT frame = EncodeFrame(packet);
  packet.Checksum = static_cast<uint16_t>(frame[FrameBytes - 2] << 8 | frame[FrameBytes - 1]);
  return packet;
}

PacketT SamplePacket(uint32_t seq) {
  const uint16_t drift = static_cast<uint16_t>(seq % 7);  // small, repeating wander
  const uint16_t pm1 = 3 + drift % 3;
  const uint16_t pm25 = 5 + drift % 4;
  const uint16_t pm10 = 6 + drift;
  return MakePacket({pm1, pm25, pm10, pm1, pm25, pm10, static_cast<uint16_t>(840 + 10 * drift),
                     static_cast<uint16_t>(250 + 3 * drift), static_cast<uint16_t>(40 + drift), 3, 1, 0});
}

std::optional<std::vector<uint8_t>> ParseHexCapture(std::string_view text) {
  std::vector<uint8_t> bytes;
  int high = -1;
  bool comment = false;
  for (char c : text) {
    if (comment) {
      comment = c != '\n';
      continue;
    }
    if (c == '#') {
      comment = true;
    } else if (const int value = HexValue(c); value >= 0) {
      if (high < 0) {
        high = value;
      } else {
        bytes.push_back(static_cast<uint8_t>(high << 4 | value));
        high = -1;
      }
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',') {
      if (high >= 0) return std::nullopt;  // a lone hex digit
    } else {
      return std::nullopt;
    }
  }
  if (high >= 0) return std::nullopt;
  return bytes;
}
