#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "sensor/packet.h"

using FrameBytesT = std::array<uint8_t, FrameBytes>;

// The wire form of packet: start bytes, then its length word, measurement
// fields and Filler big-endian, then the sum of bytes 0..29.
FrameBytesT EncodeFrame(const PacketT& packet);

// A frame with FrameLen 28 and the given measurement values.
PacketT MakePacket(const std::array<uint16_t, MeasurementCount>& values, uint16_t filler = 0);

// Plausible readings of clean-ish indoor air that drift with seq.
PacketT SamplePacket(uint32_t seq);

// Bytes of a capture: raw, or hex text (pairs of hex digits; blanks, commas
// and line ends between them; '#' starts a comment). Empty on malformed hex.
std::optional<std::vector<uint8_t>> ParseHexCapture(std::string_view text);
