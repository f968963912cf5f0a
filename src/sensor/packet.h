#pragma once

#include <array>
#include <cstdint>

// One sensor frame. On the wire: 32 bytes, words big-endian.
//   offset  size  field
//        0     1  Hdr1            0x42 'B'
//        1     1  Hdr2            0x4D 'M'
//        2     2  FrameLen        bytes after this word, always 28
//    4..26  2x12  measurement fields (PM10Std .. Particles100um)
//       28     2  Filler          checked, never shown
//       30     2  Checksum        sum of bytes 0..29
// In memory every word is host order. An averaged packet sets only the
// measurement fields.
struct PacketT {
  uint8_t Hdr1 = 0;
  uint8_t Hdr2 = 0;
  uint16_t FrameLen = 0;
  uint16_t PM10Std = 0;
  uint16_t PM25Std = 0;
  uint16_t PM100Std = 0;
  uint16_t PM10Env = 0;
  uint16_t PM25Env = 0;
  uint16_t PM100Env = 0;
  uint16_t Particles03um = 0;
  uint16_t Particles05um = 0;
  uint16_t Particles10um = 0;
  uint16_t Particles25um = 0;
  uint16_t Particles50um = 0;
  uint16_t Particles100um = 0;
  uint16_t Filler = 0;
  uint16_t Checksum = 0;

  bool operator==(const PacketT&) const = default;
};

constexpr uint8_t FrameStart1 = 0x42;
constexpr uint8_t FrameStart2 = 0x4D;
constexpr uint16_t FrameLength = 28;  // bytes after the length word
constexpr int FrameBytes = 32;

constexpr int MeasurementCount = 12;

// The measurement fields in wire order, which is also the report's column order.
constexpr std::array<uint16_t PacketT::*, MeasurementCount> MeasurementFields = {
    &PacketT::PM10Std,       &PacketT::PM25Std,       &PacketT::PM100Std,      &PacketT::PM10Env,
    &PacketT::PM25Env,       &PacketT::PM100Env,      &PacketT::Particles03um, &PacketT::Particles05um,
    &PacketT::Particles10um, &PacketT::Particles25um, &PacketT::Particles50um, &PacketT::Particles100um,
};
