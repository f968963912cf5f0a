#include "soak_sensor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim_frames.h"

namespace {

constexpr int64_t TimeoutMs = 30'000;     // the program's silence limit per byte
constexpr int64_t FramePeriodMs = 1'000;  // the sensor's nominal rate
constexpr int32_t JitterMs = 30;          // either way, per frame
constexpr int64_t ReportPeriodMs = 300'000;
constexpr int32_t MaxGarbage = 40;  // bytes

// Per mille, per frame.
constexpr int32_t GarbageChance = 100;
constexpr int32_t StrayChance = 20;
constexpr int32_t DoubleStrayChance = 5;
constexpr int32_t SplitChance = 50;
constexpr int32_t ChecksumRunChance = 2;
constexpr int32_t SilenceAfterRowChance = 300;

[[noreturn]] void Overrun(const char* what) {
  std::fprintf(stderr, "soak sensor: %s ring overrun\n", what);
  std::abort();
}

}  // namespace

SoakSensor::SoakSensor(VirtualClock& clock, uint64_t seed)
    : Clock(clock), RandomState(seed), LastMs(clock.NowMs), AvgTimerMs(clock.NowMs) {}

uint64_t SoakSensor::NextRandom() {
  // splitmix64
  uint64_t z = (RandomState += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

int32_t SoakSensor::Uniform(int32_t low, int32_t high) {
  const uint64_t span = static_cast<uint64_t>(high - low) + 1;
  return low + static_cast<int32_t>(NextRandom() % span);
}

bool SoakSensor::Chance(int32_t perMille) { return Uniform(0, 999) < perMille; }

PacketT SoakSensor::RandomPacket() {
  // Mostly indoor-sized readings, with full-range words mixed in so that
  // sums far beyond 16 bits get averaged.
  std::array<uint16_t, MeasurementCount> values{};
  for (uint16_t& v : values) {
    const uint64_t r = NextRandom();
    v = static_cast<uint16_t>((r & 3) == 0 ? (r >> 16) & 0xFFFF : (r >> 16) % 1000);
  }
  return MakePacket(values, static_cast<uint16_t>(NextRandom()));
}

int32_t SoakSensor::Queued() {
  EnsurePending();
  int32_t n = 0;
  for (size_t i = 0; i < ChunkCount; ++i) {
    const ChunkT& chunk = Chunks[(ChunkHead + i) % Chunks.size()];
    if (chunk.AtMs > Clock.NowMs) break;
    n += chunk.Len - chunk.Pos;
  }
  return n;
}

size_t SoakSensor::Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) {
  if (Queued() == 0) {
    // A real wait never takes no time; without this a reader that waits 0 ms
    // in a loop would stall the virtual clock instead of timing out.
    int64_t wakeMs = Clock.NowMs + (timeoutMs < 1 ? 1 : timeoutMs);
    if (Chunks[ChunkHead].AtMs < wakeMs) wakeMs = Chunks[ChunkHead].AtMs;
    Clock.NowMs = wakeMs;
  }
  size_t n = 0;
  while (n < max && ChunkCount > 0 && Chunks[ChunkHead].AtMs <= Clock.NowMs) {
    ChunkT& chunk = Chunks[ChunkHead];
    size_t take = static_cast<size_t>(chunk.Len - chunk.Pos);
    if (take > max - n) take = max - n;
    std::memcpy(buffer + n, chunk.Bytes + chunk.Pos, take);
    n += take;
    chunk.Pos += static_cast<int32_t>(take);
    if (chunk.Pos == chunk.Len) {
      ChunkHead = (ChunkHead + 1) % Chunks.size();
      --ChunkCount;
    }
  }
  return n;
}

bool SoakSensor::TakeExpected(ExpectedPassT& pass) {
  if (ExpectedCount == 0) return false;
  pass = Expected[ExpectedHead];
  ExpectedHead = (ExpectedHead + 1) % Expected.size();
  --ExpectedCount;
  return true;
}

void SoakSensor::EnsurePending() {
  if (ChunkCount == 0) GenerateSlot();
}

void SoakSensor::PushChunk(int64_t atMs, const uint8_t* bytes, int32_t len) {
  if (ChunkCount == Chunks.size()) Overrun("chunk");
  ChunkT& chunk = Chunks[(ChunkHead + ChunkCount) % Chunks.size()];
  chunk.AtMs = atMs;
  std::memcpy(chunk.Bytes, bytes, static_cast<size_t>(len));
  chunk.Len = len;
  chunk.Pos = 0;
  ++ChunkCount;
}

void SoakSensor::Predict(PassKind kind, int64_t endMs, const PacketT& sent) {
  if (ExpectedCount == Expected.size()) Overrun("prediction");
  ExpectedPassT& pass = Expected[(ExpectedHead + ExpectedCount) % Expected.size()];
  ++ExpectedCount;
  switch (kind) {
    case PassKind::GoodFrame:
      ChecksumCount = 0;
      TimeoutCount = 0;
      AnythingStored = true;
      break;
    case PassKind::ChecksumFailure: ++ChecksumCount; break;
    case PassKind::TimeOut: ++TimeoutCount; break;
  }
  const bool due = (endMs - AvgTimerMs) / 1000 >= ReportPeriodMs / 1000;
  if (due) AvgTimerMs = endMs;
  pass = {kind, endMs, sent, ChecksumCount, TimeoutCount, due && AnythingStored};
  LastRowDue = pass.RowDue;
  LastMs = endMs;
}

// One frame, with whatever precedes it: garbage, a stray start byte, or a
// silence. The silence only follows a report, so that no report falls due
// while the program waits 30 s per pass.
void SoakSensor::GenerateSlot() {
  int64_t gapMs = FramePeriodMs + Uniform(-JitterMs, JitterMs);
  if (LastRowDue && !AfterFault && ChecksumRunLeft == 0 && Chance(SilenceAfterRowChance)) {
    const int32_t timeOuts = Uniform(1, MaxSilence);
    for (int32_t k = 0; k < timeOuts; ++k) Predict(PassKind::TimeOut, LastMs + TimeoutMs, PacketT{});
    // Well inside the next 30 s and before the next report is due.
    gapMs = Uniform(200, 20'000);
    AfterFault = true;
    ++Counts.Silences;
    Counts.TimeOuts += timeOuts;
    if (timeOuts > Counts.LongestSilence) Counts.LongestSilence = timeOuts;
  }
  const int64_t frameMs = LastMs + gapMs;

  if (ChecksumRunLeft == 0 && !AfterFault && Chance(ChecksumRunChance)) {
    ChecksumRunLeft = Uniform(1, MaxChecksumRun);
    ++Counts.ChecksumRuns;
    if (ChecksumRunLeft > Counts.LongestChecksumRun) Counts.LongestChecksumRun = ChecksumRunLeft;
  }
  const bool corrupt = ChecksumRunLeft > 0;

  const PacketT packet = RandomPacket();
  FrameBytesT frame = EncodeFrame(packet);
  if (corrupt) {
    // Any change to one byte after the length word breaks the sum.
    const int32_t at = Uniform(4, FrameBytes - 1);
    frame[at] = static_cast<uint8_t>(frame[at] + Uniform(1, 255));
  }

  uint8_t bytes[MaxChunkBytes];
  int32_t len = 0;
  if (Chance(GarbageChance)) {
    const int32_t n = Uniform(1, MaxGarbage);
    uint8_t garbage[MaxGarbage];
    for (int32_t i = 0; i < n; ++i) {
      do garbage[i] = static_cast<uint8_t>(NextRandom());
      while (garbage[i] == FrameStart1);
    }
    if (Chance(500)) {
      PushChunk(LastMs + gapMs / 2, garbage, n);
    } else {
      std::memcpy(bytes, garbage, static_cast<size_t>(n));
      len = n;
    }
    ++Counts.GarbageBursts;
    Counts.GarbageBytes += n;
  }
  if (Chance(StrayChance)) {
    bytes[len++] = FrameStart1;
    ++Counts.StrayStarts;
  } else if (Chance(DoubleStrayChance)) {
    bytes[len++] = FrameStart1;
    bytes[len++] = FrameStart1;
    ++Counts.DoubleStrayStarts;
  }
  std::memcpy(bytes + len, frame.data(), frame.size());
  len += FrameBytes;

  if (Chance(SplitChance)) {
    const int32_t first = len - Uniform(1, FrameBytes - 1);
    PushChunk(frameMs - Uniform(1, static_cast<int32_t>(gapMs / 4)), bytes, first);
    PushChunk(frameMs, bytes + first, len - first);
    ++Counts.SplitFrames;
  } else {
    PushChunk(frameMs, bytes, len);
  }

  if (corrupt) {
    --ChecksumRunLeft;
    AfterFault = ChecksumRunLeft == 0;
    ++Counts.ChecksumFailures;
    Predict(PassKind::ChecksumFailure, frameMs, packet);
  } else {
    AfterFault = false;
    Predict(PassKind::GoodFrame, frameMs, packet);
  }
}
