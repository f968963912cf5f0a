// Arbitrary sensor bytes through the acquisition loop's passes, on a virtual
// clock so that silence times out at once.
//
// Input: byte 0 says how the rest arrives. Its low 6 bits + 1 are the burst
// size in bytes; its top 2 bits pick the gap between bursts: none, 100 ms,
// 1 s, or 31 s (longer than the time-out, so a frame can be cut off).

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "app/acquisition_loop.h"
#include "app/program_state.h"
#include "app/reporting_cycle.h"
#include "sensor/block_serial.h"
#include "sensor/frame_reader.h"
#include "sensor/sensor_errors.h"
#include "sim_frames.h"

namespace {

constexpr std::array<int64_t, 4> BurstGapsMs = {0, 100, 1000, 31000};
constexpr int64_t Never = INT64_MAX;

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

class FuzzClock final : public Clock {
public:
  int64_t NowMs = 0;
  int64_t MonotonicMs() override { return NowMs; }
  LocalTimeT LocalNow() override { return {}; }
};

// Stream bytes in bursts of BurstSize, burst k arriving at k * GapMs.
class BurstDevice final : public SerialDevice {
public:
  BurstDevice(FuzzClock& clock, std::span<const uint8_t> stream, size_t burstSize, int64_t gapMs)
      : Clock(clock), Stream(stream), BurstSize(burstSize), GapMs(gapMs) {}

  int32_t Queued() override { return static_cast<int32_t>(Arrived() - Consumed); }
  size_t Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) override {
    Require(timeoutMs <= int64_t{Timeout} * 1000);
    if (Arrived() == Consumed) {
      Clock.NowMs = std::min(Clock.NowMs + std::max<int64_t>(timeoutMs, 0), NextArrivalMs());
    }
    const size_t n = std::min(max, Arrived() - Consumed);
    std::memcpy(buffer, Stream.data() + Consumed, n);
    Consumed += n;
    return n;
  }

  size_t Consumed = 0;  // bytes handed to the reader so far

private:
  size_t Bursts() const { return GapMs == 0 ? SIZE_MAX : static_cast<size_t>(Clock.NowMs / GapMs) + 1; }
  size_t Arrived() const {
    const size_t bursts = Bursts();
    return bursts > Stream.size() / BurstSize ? Stream.size() : std::min(Stream.size(), bursts * BurstSize);
  }
  int64_t NextArrivalMs() const {
    if (Arrived() == Stream.size()) return Never;
    return static_cast<int64_t>(Bursts()) * GapMs;
  }

  FuzzClock& Clock;
  std::span<const uint8_t> Stream;
  size_t BurstSize;
  int64_t GapMs;
};

class NullConsole final : public Console {
public:
  void Write(std::string_view) override {}
  bool ReadLine(std::string&) override { return false; }
};

// The frame just handed out must be the last 32 bytes the reader took, with
// its length and checksum as the wire says they must be.
void CheckAccepted(const PacketT& packet, std::span<const uint8_t> stream, size_t taken) {
  Require(taken >= FrameBytes);
  const uint8_t* wire = stream.data() + taken - FrameBytes;
  Require(packet.Hdr1 == FrameStart1 && packet.Hdr2 == FrameStart2);
  Require(packet.FrameLen == FrameLength);
  uint16_t sum = 0;
  for (int i = 0; i < FrameBytes - 2; ++i) sum = static_cast<uint16_t>(sum + wire[i]);
  Require(packet.Checksum == sum);
  const FrameBytesT encoded = EncodeFrame(packet);
  Require(std::memcmp(encoded.data(), wire, FrameBytes) == 0);
}

// Whole passes as the program runs them, until the program would end.
void RunPasses(std::span<const uint8_t> stream, size_t burstSize, int64_t gapMs) {
  FuzzClock clock;
  BurstDevice device(clock, stream, burstSize, gapMs);
  TBlockSerial ComCB(device);
  NullConsole console;
  ProgramT program;
  StartReporting(program, clock);

  // Each pass takes at least one byte or times out once, so the loop must end.
  const size_t maxPasses = stream.size() + MaxTimeoutCount + 2;
  for (size_t pass = 0;; ++pass) {
    Require(pass <= maxPasses);
    std::optional<int> status;
    try {
      status = RunPass(program, ComCB, clock, console);
    } catch (const EFrameLen&) {
      // Not handled by the loop: the program ends. A header with a wrong length word came last.
      const size_t taken = device.Consumed - static_cast<size_t>(ComCB.Held());
      Require(taken >= 4);
      const uint8_t* head = stream.data() + taken - 4;
      Require(head[0] == FrameStart1 && head[1] == FrameStart2);
      Require((head[2] << 8 | head[3]) != FrameLength);
      return;
    }
    if (status) {
      Require(*status != 0);
      Require(program.ErrChecksumCount == MaxChecksumCount + 1 ||
              program.ErrTimeoutCount == MaxTimeoutCount + 1);
      return;
    }
    Require(program.ErrChecksumCount <= MaxChecksumCount && program.ErrTimeoutCount <= MaxTimeoutCount);
    // A failed pass raises one counter; only a good frame leaves both at 0.
    if (program.ErrChecksumCount == 0 && program.ErrTimeoutCount == 0) {
      const HistoryT& history = program.History;
      Require(history.Len > 0);
      const PacketT& newest = history.Packets[(history.Next + history.Max - 1) % history.Max].Packet;
      CheckAccepted(newest, stream, device.Consumed - static_cast<size_t>(ComCB.Held()));
    }
  }
}

// A valid frame F after a prefix P is the first packet found whenever P holds
// no 0x42 0x4D pair. P may end in 0x42: 0x42 0x42 0x4D must still find F.
// The prefix is the stream cut just before its first 0x4D that follows 0x42.
void FindFrameAfterPrefix(std::span<const uint8_t> stream, size_t burstSize, int64_t gapMs) {
  size_t prefixLen = stream.size();
  for (size_t i = 1; i < stream.size(); ++i) {
    if (stream[i - 1] == FrameStart1 && stream[i] == FrameStart2) {
      prefixLen = i;
      break;
    }
  }
  std::array<uint16_t, MeasurementCount> values{};
  for (size_t f = 0; f < values.size() && 2 * f + 1 < stream.size(); ++f) {
    values[f] =
        static_cast<uint16_t>(stream[stream.size() - 1 - 2 * f] << 8 | stream[stream.size() - 2 - 2 * f]);
  }
  const PacketT expected = MakePacket(values, static_cast<uint16_t>(stream.size()));
  const FrameBytesT frame = EncodeFrame(expected);

  std::vector<uint8_t> bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(prefixLen));
  bytes.insert(bytes.end(), frame.begin(), frame.end());

  FuzzClock clock;
  // Gaps stay short of the time-out: this property is about the search alone.
  BurstDevice device(clock, bytes, burstSize, std::min<int64_t>(gapMs, 1000));
  TBlockSerial ComCB(device);
  try {
    const PacketT found = GetPacket(ComCB, clock);
    Require(found == expected);
    Require(device.Consumed - static_cast<size_t>(ComCB.Held()) == bytes.size());
  } catch (const Error&) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t burstSize = (data[0] & 0x3F) + 1;
  const int64_t gapMs = BurstGapsMs[data[0] >> 6];
  const std::span<const uint8_t> stream(data + 1, size - 1);
  RunPasses(stream, burstSize, gapMs);
  FindFrameAfterPrefix(stream, burstSize, gapMs);
  return 0;
}
