// Frames per second through GetPacket: from memory, and from a real
// pseudo-terminal fed as fast as a writer thread can go.

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "sensor/block_serial.h"
#include "sensor/frame_reader.h"
#include "sensor/sensor_errors.h"
#include "sensor/serial_port.h"
#include "sim_frames.h"

namespace {

constexpr int BufferFrames = 1024;
constexpr size_t ReadSize = 4096;  // bytes per Read, the tty layer's queue size

// Frames from the simulator; every k-th one (k > 0) carries a wrong checksum.
std::vector<uint8_t> EncodedFrames(int count, int badEvery) {
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(count) * FrameBytes);
  for (int i = 1; i <= count; ++i) {
    FrameBytesT frame = EncodeFrame(SamplePacket(static_cast<uint32_t>(i)));
    if (badEvery > 0 && i % badEvery == 0) frame[FrameBytes - 1] ^= 0x01;
    bytes.insert(bytes.end(), frame.begin(), frame.end());
  }
  return bytes;
}

// An endless stream: the buffer served again from the start once read out.
class MemoryDevice final : public SerialDevice {
public:
  explicit MemoryDevice(std::vector<uint8_t> bytes) : Bytes(std::move(bytes)) {}

  int32_t Queued() override { return static_cast<int32_t>(Bytes.size() - Pos); }
  size_t Receive(uint8_t* buffer, size_t max, int64_t) override {
    const size_t n = std::min({max, ReadSize, Bytes.size() - Pos});
    std::memcpy(buffer, Bytes.data() + Pos, n);
    Pos += n;
    if (Pos == Bytes.size()) Pos = 0;
    return n;
  }

private:
  std::vector<uint8_t> Bytes;
  size_t Pos = 0;
};

// Time that never moves: shows what parsing costs without the clock.
class FrozenClock final : public Clock {
public:
  int64_t MonotonicMs() override { return 0; }
  LocalTimeT LocalNow() override { return {}; }
};

// Counts the calls the reader makes on the real port.
class CountingDevice final : public SerialDevice {
public:
  explicit CountingDevice(SerialDevice& inner) : Inner(inner) {}
  int32_t Queued() override {
    ++QueuedCalls;
    return Inner.Queued();
  }
  size_t Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) override {
    ++ReceiveCalls;
    const size_t n = Inner.Receive(buffer, max, timeoutMs);
    ReadBytes += n;
    return n;
  }

  int64_t QueuedCalls = 0;
  int64_t ReceiveCalls = 0;  // each one poll() and at most one read()
  int64_t ReadBytes = 0;

private:
  SerialDevice& Inner;
};

void SetFrameCounters(benchmark::State& state, int64_t frames) {
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["s/frame"] = benchmark::Counter(static_cast<double>(frames),
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetBytesProcessed(frames * FrameBytes);
}

// Args: percent of frames with a bad checksum (0 or 10), clock (0 frozen, 1 system).
void BM_GetPacketFromMemory(benchmark::State& state) {
  const int badPercent = static_cast<int>(state.range(0));
  MemoryDevice device(EncodedFrames(BufferFrames, badPercent > 0 ? 100 / badPercent : 0));
  TBlockSerial ComCB(device);
  FrozenClock frozen;
  SystemClock system;
  Clock& clock = state.range(1) != 0 ? static_cast<Clock&>(system) : frozen;

  int64_t checksumErrors = 0;
  for (auto _ : state) {
    try {
      PacketT packet = GetPacket(ComCB, clock);
      benchmark::DoNotOptimize(packet);
    } catch (const EChecksum&) {
      ++checksumErrors;
    }
  }
  SetFrameCounters(state, state.iterations());
  state.counters["EChecksum"] = static_cast<double>(checksumErrors);
  state.counters["EChecksum%"] =
      100.0 * static_cast<double>(checksumErrors) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GetPacketFromMemory)
    ->ArgNames({"bad%", "sysclock"})
    ->Args({0, 0})
    ->Args({10, 0})
    ->Args({0, 1})
    ->Args({10, 1});

// Writes whole frames to a pseudo-terminal master until told to stop.
class PtyWriter {
public:
  PtyWriter() {
    Master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (Master < 0 || grantpt(Master) != 0 || unlockpt(Master) != 0) Fail("posix_openpt");
    const char* name = ptsname(Master);
    if (name == nullptr) Fail("ptsname");
    SlavePath = name;
    Frames = EncodedFrames(static_cast<int>(ReadSize / FrameBytes), 0);
  }
  ~PtyWriter() {
    Stop = true;
    if (Thread.joinable()) Thread.join();
    close(Master);
  }

  void Start() {
    Thread = std::thread([this] { Run(); });
  }

  std::string SlavePath;

private:
  [[noreturn]] static void Fail(const char* what) {
    std::fprintf(stderr, "%s: %s\n", what, std::strerror(errno));
    std::abort();
  }

  void Run() {
    size_t pos = 0;  // into Frames, so a partial write never breaks a frame
    while (!Stop) {
      pollfd pfd{Master, POLLOUT, 0};
      if (poll(&pfd, 1, 50) <= 0) continue;
      const ssize_t n = write(Master, Frames.data() + pos, Frames.size() - pos);
      if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) continue;
        Fail("write");
      }
      pos = (pos + static_cast<size_t>(n)) % Frames.size();
    }
  }

  int Master = -1;
  std::vector<uint8_t> Frames;
  std::thread Thread;
  std::atomic<bool> Stop = false;
};

void BM_GetPacketFromPty(benchmark::State& state) {
  PtyWriter writer;
  SerialPort port;  // the slave descriptor stays open until exit, as in the program
  port.Connect(writer.SlavePath);
  port.Config(9600, 8, 'N', 0, false, false);
  CountingDevice counting(port);
  TBlockSerial ComCB(counting);
  SystemClock clock;
  writer.Start();

  int64_t errors = 0;
  for (auto _ : state) {
    try {
      PacketT packet = GetPacket(ComCB, clock);
      benchmark::DoNotOptimize(packet);
    } catch (const Error&) {
      ++errors;
    }
  }
  if (errors > 0) state.SkipWithError("frames were lost or mangled on the pseudo-terminal");

  const double frames = static_cast<double>(state.iterations());
  SetFrameCounters(state, state.iterations());
  state.counters["receive/frame"] = static_cast<double>(counting.ReceiveCalls) / frames;
  state.counters["bytes/receive"] =
      static_cast<double>(counting.ReadBytes) / static_cast<double>(counting.ReceiveCalls);
  state.counters["FIONREAD/frame"] = static_cast<double>(counting.QueuedCalls) / frames;
}
BENCHMARK(BM_GetPacketFromPty)->UseRealTime();

}  // namespace
