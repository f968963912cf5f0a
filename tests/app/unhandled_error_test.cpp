#include "app/unhandled_error.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include <unistd.h>

#include "sensor/sensor_errors.h"

namespace {

volatile int Depth = 0;  // a store after each call keeps the recursion from becoming a loop

[[gnu::noinline]] void RaiseAtDepth(int depth) {
  if (depth == 0) throw EChecksum();
  RaiseAtDepth(depth - 1);
  Depth = depth;
}

// What ReportUnhandled writes to standard error.
std::string ReportText(const Error& error) {
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  dup2(fileno(file), STDERR_FILENO);
  ReportUnhandled(error);
  dup2(saved, STDERR_FILENO);
  close(saved);
  std::string text;
  std::rewind(file);
  char buffer[512];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

// An error raised 40 calls deep keeps the raise site and its 15 nearest
// callers, and the report shows exactly those 16.
TEST(UnhandledError, BackTraceStopsAtSixteenFrames) {
  try {
    RaiseAtDepth(40);
    FAIL() << "nothing raised";
  } catch (const EChecksum& error) {
    ASSERT_EQ(error.FrameCount(), 16);
    // Frames 1.. are returns into the recursion: all the same address.
    for (int i = 2; i < Error::MaxFrames; ++i) EXPECT_EQ(error.Frames()[i], error.Frames()[1]) << i;

    const std::string text = ReportText(error);
    const std::regex shape(
        "An unhandled exception occurred at \\$([0-9A-F]{8}):\r\n"
        "EChecksum: Checksum for sensor data failed\r\n"
        "  \\$\\1\r\n"
        "(  \\$[0-9A-F]{8}\r\n){15}"
        "\r\n");
    EXPECT_TRUE(std::regex_match(text, shape)) << text;
  }
}

}  // namespace
