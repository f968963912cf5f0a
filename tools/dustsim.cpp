// dustsim: a simulated particulate sensor on a pseudo-terminal.
//
// Prints the device and the port number dustlog takes for it, then sends one
// well-formed 32-byte frame per period until stopped. Options inject what a
// sensor in the field sends.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include "sim_frames.h"

namespace {

constexpr int PtsPortBase = 1000;  // dustlog's port number for /dev/pts/0

struct OptionsT {
  long PeriodMs = 1000;
  long Count = -1;        // frames before hanging up; -1: never
  long SilentAfter = -1;  // frames before falling silent; -1: never
  bool FixedValues = false;
  std::array<uint16_t, MeasurementCount> Values{};
  long BadChecksumEvery = 0;
  long BadLengthAt = 0;
  long Garbage = 0;
  bool DoubleStart = false;
  bool Split = false;
  bool WaitReader = false;
  bool CutLast = false;
  std::string Replay;
  bool Hex = false;
};

volatile std::sig_atomic_t Stop = 0;

void OnSignal(int) { Stop = 1; }

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "dustsim: %s: %s\n", what, std::strerror(errno));
  std::exit(2);
}

constexpr int UsageStatus = 2;

// A CLI11 check that reads a value as dustsim always has: decimal, never
// negative. The value is rewritten plainly, since CLI11 alone would read
// "010" as octal.
const CLI::Validator WholeNumber(
    [](std::string& text) {
      char* end = nullptr;
      const long value = std::strtol(text.c_str(), &end, 10);
      if (end == text.c_str() || *end != '\0' || value < 0) return std::string("expected a whole number");
      text = std::to_string(value);
      return std::string();
    },
    "");

// "A,B,..." with twelve numbers 0..65535; empty on anything else.
std::optional<std::array<uint16_t, MeasurementCount>> ParseValues(const std::string& list) {
  std::array<uint16_t, MeasurementCount> values{};
  const char* cursor = list.c_str();
  for (int f = 0; f < MeasurementCount; ++f) {
    char* end = nullptr;
    const long value = std::strtol(cursor, &end, 10);
    if (end == cursor || value < 0 || value > 65535) return std::nullopt;
    values[f] = static_cast<uint16_t>(value);
    cursor = end + (*end == ',' ? 1 : 0);
  }
  if (*cursor != '\0') return std::nullopt;
  return values;
}

[[noreturn]] void Usage(const CLI::App& app, const std::string& problem) {
  std::fprintf(stderr, "dustsim: %s\n%s", problem.c_str(), app.help().c_str());
  std::exit(UsageStatus);
}

OptionsT ParseOptions(int argc, char** argv) {
  OptionsT options;
  CLI::App app("A simulated particulate sensor on a pseudo-terminal.", "dustsim");
  // Given twice, an option takes its last value, as it always has.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("--period", options.PeriodMs, "milliseconds between frames")
      ->type_name("MS")
      ->default_str("1000")
      ->transform(WholeNumber);
  app.add_option("--count", options.Count, "send N frames, then close the device and exit")
      ->type_name("N")
      ->transform(WholeNumber);
  app.add_flag("--cut-last", options.CutLast, "with --count: the last frame stops half-way");
  app.add_option("--silent-after", options.SilentAfter, "send N frames, then stay silent until stopped")
      ->type_name("N")
      ->transform(WholeNumber);
  std::string values;
  CLI::Option* valuesOption =
      app.add_option("--values", values, "the twelve measurement values of every frame")
          ->type_name("A,B,...");
  app.add_option("--bad-checksum-every", options.BadChecksumEvery,
                 "every K-th frame has a wrong checksum (1: all)")
      ->type_name("K")
      ->transform(WholeNumber);
  app.add_option("--bad-length-at", options.BadLengthAt, "the K-th frame has length word 29")
      ->type_name("K")
      ->transform(WholeNumber);
  app.add_option("--garbage", options.Garbage, "N stray bytes before every frame")
      ->type_name("N")
      ->transform(WholeNumber);
  app.add_flag("--double-start", options.DoubleStart, "an extra 0x42 before every frame");
  app.add_flag("--wait-reader", options.WaitReader, "send nothing until a reader has configured the port");
  app.add_flag("--split", options.Split, "send each frame in two halves, 10 ms apart");
  app.add_option("--replay", options.Replay, "send FILE's bytes, 32 per period, instead of frames")
      ->type_name("FILE");
  app.add_flag("--hex", options.Hex, "FILE is hex text (pairs of digits, '#' comments)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    std::exit(0);
  } catch (const CLI::ParseError& error) {
    Usage(app, error.what());
  }
  if (valuesOption->count() > 0) {
    const auto parsed = ParseValues(values);
    if (!parsed) Usage(app, "--values takes twelve numbers 0..65535");
    options.Values = *parsed;
    options.FixedValues = true;
  }
  return options;
}

std::vector<uint8_t> LoadReplay(const OptionsT& options) {
  std::ifstream file(options.Replay, std::ios::binary);
  if (!file) Fail(options.Replay.c_str());
  const std::string content{std::istreambuf_iterator<char>(file), {}};
  if (!options.Hex) return {content.begin(), content.end()};
  auto bytes = ParseHexCapture(content);
  if (!bytes) {
    std::fprintf(stderr, "dustsim: the capture is not hex text\n");
    std::exit(UsageStatus);
  }
  return *bytes;
}

// The bytes sent for the n-th frame (1-based), faults included.
std::vector<uint8_t> FrameFor(const OptionsT& options, long n) {
  PacketT packet = options.FixedValues ? MakePacket(options.Values) : SamplePacket(static_cast<uint32_t>(n));
  if (options.BadLengthAt == n) packet.FrameLen = FrameLength + 1;
  FrameBytesT frame = EncodeFrame(packet);
  if (options.BadChecksumEvery > 0 && n % options.BadChecksumEvery == 0) frame[FrameBytes - 1] ^= 0x01;

  std::vector<uint8_t> bytes;
  // Stray bytes never hold a start byte, so they cannot fake a frame.
  for (long i = 0; i < options.Garbage; ++i) bytes.push_back(static_cast<uint8_t>(0x10 + i % 0x20));
  if (options.DoubleStart) bytes.push_back(FrameStart1);
  bytes.insert(bytes.end(), frame.begin(), frame.end());
  return bytes;
}

void SleepMs(long ms) {
  timespec ts{ms / 1000, (ms % 1000) * 1'000'000};
  while (!Stop && nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

// A full queue means nobody reads the sensor: a real one keeps talking, so
// the bytes are dropped rather than waited for.
void Send(int master, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(master, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return;
    if (n < 0) Fail("write");
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void SendChunk(const OptionsT& options, int master, const std::vector<uint8_t>& bytes) {
  if (!options.Split || bytes.size() < 2) return Send(master, bytes.data(), bytes.size());
  const size_t half = bytes.size() / 2;
  Send(master, bytes.data(), half);
  SleepMs(10);
  Send(master, bytes.data() + half, bytes.size() - half);
}

}  // namespace

int main(int argc, char** argv) {
  OptionsT options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const std::exception& error) {
    // Only a parser set up wrongly gets here: ParseOptions reports every wrong argument itself.
    std::fprintf(stderr, "dustsim: %s\n", error.what());
    return UsageStatus;
  }
  const std::vector<uint8_t> replay = options.Replay.empty() ? std::vector<uint8_t>{} : LoadReplay(options);

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) Fail("posix_openpt");
  const char* device = ptsname(master);
  if (device == nullptr) Fail("ptsname");

  // Hold the terminal side open in raw mode: no echo back into our queue, and
  // the device stays up until we exit.
  const int slave = open(device, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) Fail(device);
  termios tio{};
  if (tcgetattr(slave, &tio) != 0) Fail("tcgetattr");
  cfmakeraw(&tio);
  if (tcsetattr(slave, TCSANOW, &tio) != 0) Fail("tcsetattr");

  const long pts = std::strtol(device + std::strlen("/dev/pts/"), nullptr, 10);
  std::printf("dustsim: sensor on %s, dustlog port %ld\n", device, PtsPortBase + pts);
  std::fflush(stdout);

  // A reader that configures the port sets CLOCAL, which raw mode leaves clear.
  while (options.WaitReader && !Stop) {
    if (tcgetattr(slave, &tio) != 0) Fail("tcgetattr");
    if (tio.c_cflag & CLOCAL) break;
    SleepMs(10);
  }

  long sent = 0;
  size_t replayed = 0;
  while (!Stop) {
    if (options.Count >= 0 && sent >= options.Count) break;
    const bool silent = (options.SilentAfter >= 0 && sent >= options.SilentAfter) ||
                        (!replay.empty() && replayed >= replay.size());
    if (!silent) {
      if (replay.empty()) {
        std::vector<uint8_t> bytes = FrameFor(options, ++sent);
        // The device vanishes mid-frame, as an unplugged adapter does.
        if (options.CutLast && sent == options.Count) bytes.resize(bytes.size() - FrameBytes / 2);
        SendChunk(options, master, bytes);
      } else {
        const size_t size = std::min<size_t>(FrameBytes, replay.size() - replayed);
        const uint8_t* chunk = replay.data() + replayed;
        SendChunk(options, master, {chunk, chunk + size});
        replayed += size;
        ++sent;
      }
    }
    // Drain whatever the reader writes, so its output never blocks.
    uint8_t sink[256];
    while (read(master, sink, sizeof sink) > 0) {
    }
    SleepMs(options.PeriodMs);
  }
  close(slave);
  close(master);
  return 0;
}
