#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sensor/packet.h"
#include "sensor/serial_device.h"
#include "support/virtual_clock.h"

enum class PassKind { GoodFrame, ChecksumFailure, TimeOut };

// What one pass of the program should come to, predicted by the sensor that
// sent the bytes.
struct ExpectedPassT {
  PassKind Kind = PassKind::GoodFrame;
  int64_t EndMs = 0;          // monotonic time at which the pass ends
  PacketT Sent;               // the frame read, for GoodFrame
  int32_t ChecksumCount = 0;  // ErrChecksumCount after the pass
  int32_t TimeoutCount = 0;   // ErrTimeoutCount after the pass
  bool RowDue = false;        // 300 whole seconds have passed since the last report
};

struct FaultCountsT {
  int64_t GarbageBursts = 0;
  int64_t GarbageBytes = 0;
  int64_t StrayStarts = 0;        // one 0x42 right before a frame
  int64_t DoubleStrayStarts = 0;  // two of them
  int64_t SplitFrames = 0;        // a frame arriving in two parts
  int64_t ChecksumRuns = 0;
  int64_t ChecksumFailures = 0;
  int32_t LongestChecksumRun = 0;
  int64_t Silences = 0;
  int64_t TimeOuts = 0;
  int32_t LongestSilence = 0;  // in time-outs
};

// A sensor sending about one frame a second on the virtual clock, generated
// lazily from a seeded PRNG, with faults kept below the program's limits.
// Nothing here allocates, so the soak can count the program's allocations
// with the sensor inside the loop.
class SoakSensor final : public SerialDevice {
public:
  static constexpr int32_t MaxChecksumRun = 10;
  static constexpr int32_t MaxSilence = 9;  // time-outs in a row

  // Assumes reporting starts at the clock's current time.
  SoakSensor(VirtualClock& clock, uint64_t seed);

  int32_t Queued() override;
  size_t Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) override;

  // Takes the prediction for the pass that just ended; false if none is left.
  bool TakeExpected(ExpectedPassT& pass);
  const FaultCountsT& Faults() const { return Counts; }

private:
  static constexpr int MaxChunkBytes = 96;
  struct ChunkT {
    int64_t AtMs = 0;
    uint8_t Bytes[MaxChunkBytes] = {};
    int32_t Len = 0;
    int32_t Pos = 0;
  };

  uint64_t NextRandom();
  int32_t Uniform(int32_t low, int32_t high);  // inclusive
  bool Chance(int32_t perMille);
  PacketT RandomPacket();

  void EnsurePending();
  void GenerateSlot();
  void PushChunk(int64_t atMs, const uint8_t* bytes, int32_t len);
  void Predict(PassKind kind, int64_t endMs, const PacketT& sent);

  VirtualClock& Clock;
  uint64_t RandomState;
  FaultCountsT Counts;

  std::array<ChunkT, 8> Chunks{};
  size_t ChunkHead = 0;
  size_t ChunkCount = 0;

  std::array<ExpectedPassT, 32> Expected{};
  size_t ExpectedHead = 0;
  size_t ExpectedCount = 0;

  int64_t LastMs;  // when the latest predicted pass ends
  int32_t ChecksumRunLeft = 0;
  bool AfterFault = false;  // the next frame is sent intact
  // The sensor's own model of the program's counters and report cadence.
  int32_t ChecksumCount = 0;
  int32_t TimeoutCount = 0;
  bool AnythingStored = false;
  int64_t AvgTimerMs;
  bool LastRowDue = false;
};
