// dustlog.exe reading dustsim through a COM port mapped onto its pseudo-terminal.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dustlog_output.h"
#include "sensor_sim.h"
#include "wine_dustlog.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// dustsim with the given options, its device mapped as COM port.
struct MappedSensor {
  MappedSensor(const WineSetupT& wine, int port, std::vector<std::string> options)
      : Sim(std::make_unique<SensorSim>(std::move(options))), Mapping(wine, port, Sim->Device()) {}
  std::unique_ptr<SensorSim> Sim;
  ComPortMapping Mapping;
};

// A healthy sensor: only the banner until stopped. That frames are really
// read, also from faulty streams, is shown under the accelerated clock below.
TEST(WineQuietStream, KeepsReadingSilently) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  MappedSensor sensor(*wine, 10, {"--wait-reader", "--period", "50"});
  ChildProcess dustlog(WineLaunch(*wine, {"10"}));

  EXPECT_TRUE(dustlog.StillRunningAfter(3s));
  dustlog.Signal(SIGTERM);
  const ResultT run = dustlog.Finish();
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.TermSignal(), SIGTERM);
}

// Ctrl-C (wine turns SIGINT into the console's Ctrl-C event): the run ends
// with no message from the program.
TEST(WineCtrlC, EndsTheRunWithoutAMessage) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  MappedSensor sensor(*wine, 16, {"--wait-reader", "--period", "50"});
  ChildProcess dustlog(WineLaunch(*wine, {"16"}));
  ASSERT_TRUE(dustlog.StillRunningAfter(2s)) << dustlog.Finish().Err;
  dustlog.Signal(SIGINT);
  const ResultT run = dustlog.Finish(5s);
  EXPECT_FALSE(run.Hung) << "still running 5 s after Ctrl-C";
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_NE(run.ExitCode(), 217);
}

TEST(WineStreamFaults, ChecksumErrorsPastTheLimitEndWithOne) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  MappedSensor sensor(*wine, 11, {"--wait-reader", "--period", "20", "--bad-checksum-every", "1"});
  const ResultT run = RunProcess(WineLaunch(*wine, {"11"}));
  EXPECT_EQ(AfterBanner(run.Out), ConsoleLines({"Checksum error count exceeded 10"})) << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.ExitCode(), 1);
}

// The report's first address, placed at the image's preferred base, is the
// frame reader's raise site in dustlog.exe's debugging information.
TEST(WineStreamFaults, BadLengthWordIsReportedAtTheFrameReader) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  MappedSensor sensor(*wine, 12, {"--wait-reader", "--period", "20", "--bad-length-at", "3"});
  const ResultT run = RunProcess(WineLaunch(*wine, {"12"}));
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  ASSERT_TRUE(IsErrorReport(run.Err, "EFrameLen: Frame length was incorrect"));
  EXPECT_EQ(run.ExitCode(), 217);

  const auto addr2line = FindProgram("x86_64-w64-mingw32-addr2line");
  if (!addr2line) GTEST_SKIP() << "x86_64-w64-mingw32-addr2line missing: the address cannot be resolved";
  const auto base = ImageBase(wine->Exe);
  ASSERT_TRUE(base) << wine->Exe << " is not a 64-bit PE image";
  const uint64_t offset = std::stoull(RaiseAddress(run.Err), nullptr, 16);
  char address[32];
  // A return address: the call that raised lies one byte before it.
  std::snprintf(address, sizeof address, "0x%llx", static_cast<unsigned long long>(*base + offset - 1));
  LaunchT lookup;
  lookup.Argv = {*addr2line, "-f", "-i", "-C", "-e", wine->Exe, address};
  const ResultT resolved = RunProcess(lookup);
  EXPECT_EQ(resolved.ExitCode(), 0) << resolved.Err;
  EXPECT_NE(resolved.Out.find("GetPacket"), std::string::npos) << resolved.Out;
  EXPECT_NE(resolved.Out.find("frame_reader.cpp"), std::string::npos) << resolved.Out;
}

// A vanished device (the pseudo-terminal's master closed) ends the run within
// about a second. Under wine it shows as ClearCommError failing with 21.
TEST(WineVanishingDevice, EndsTheRunWithinAboutASecond) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  MappedSensor sensor(*wine, 13, {"--wait-reader", "--period", "50"});
  ChildProcess dustlog(WineLaunch(*wine, {"13"}));
  ASSERT_TRUE(dustlog.StillRunningAfter(2s)) << dustlog.Finish().Err;

  sensor.Sim.reset();  // stops dustsim, which closes the master
  const auto closed = SteadyClock::now();
  const ResultT run = dustlog.Finish();
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - closed);
  EXPECT_LE(took.count(), 2000) << "the device vanished " << took.count() << " ms before dustlog ended";
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  std::smatch message;
  ASSERT_TRUE(std::regex_search(run.Err, message,
                                std::regex("\r\n(ESynaSerError: Communication error 21: [^\r\n]+)\r\n")))
      << run.Err;
  EXPECT_TRUE(IsErrorReport(run.Err, message[1].str()));
  EXPECT_EQ(run.ExitCode(), 217);
}

// Mid-frame too: the half frame held is never mistaken for a time-out.
TEST(WineVanishingDevice, MidFrameIsTheSameError) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  MappedSensor sensor(*wine, 14, {"--wait-reader", "--period", "50", "--count", "10", "--cut-last"});
  const ResultT run = RunProcess(WineLaunch(*wine, {"14"}));
  EXPECT_FALSE(run.Hung);
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  EXPECT_NE(run.Err.find("\r\nESynaSerError: Communication error 21: "), std::string::npos) << run.Err;
  EXPECT_EQ(run.ExitCode(), 217);
}

struct StreamCaseT {
  const char* Name;
  std::vector<std::string> SimOptions;
};

void PrintTo(const StreamCaseT& c, std::ostream* os) { *os << c.Name; }

class WineAcceleratedClock : public testing::TestWithParam<StreamCaseT> {};

// faketime reaches the performance counter and the local time that wine
// hands out, so five minutes pass in three seconds. The serial time-outs run
// on wine's server, in real time: the sensor is fast enough not to need them.
// Streams with faults below the limits report the same values: a frame missed
// in the search would leave nothing to report, a misread one would run into
// the checksum limit.
TEST_P(WineAcceleratedClock, ReportsAveragesEveryFiveMinutes) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  const auto faketime = FindProgram("faketime");
  if (!faketime) GTEST_SKIP() << "faketime is not installed (Debian package faketime)";
  const std::string values = "3,5,6,3,5,6,840,250,40,3,1,0";
  std::vector<std::string> options = {"--wait-reader", "--period", "10", "--values", values};
  options.insert(options.end(), GetParam().SimOptions.begin(), GetParam().SimOptions.end());
  MappedSensor sensor(*wine, 15, options);
  LaunchT launch = WineLaunch(*wine, {"15"});
  launch.Argv.insert(launch.Argv.begin(), {*faketime, "-f", "@2024-03-05 07:08:00 x100"});
  launch.Env.emplace_back("TZ", "UTC");
  launch.Env.emplace_back("FAKETIME_DONT_FAKE_MONOTONIC", "0");
  ChildProcess dustlog(launch);

  const std::string rowValues =
      "     3     5     6     3     5     6   840   250    40     3     1     0\r\n";
  const auto hasRow = [&rowValues](const std::string& out) {
    return out.find(rowValues) != std::string::npos;
  };
  const bool reported = dustlog.WaitForOutput(hasRow, 30s);
  dustlog.Signal(SIGTERM);
  const ResultT run = dustlog.Finish();
  ASSERT_TRUE(reported) << run.Out << run.Err;

  const auto body = AfterBanner(run.Out);
  ASSERT_TRUE(body) << run.Out;
  const std::regex rows(
      "--date-- --time--  1\\.0S  2\\.5S 10\\.0S  1\\.0E  2\\.5E 10\\.0E  0\\.3P  0\\.5P  1\\.0P  2\\.5P  "
      "5\\.0P "
      "10\\.0P\r\n-{90}\r\n(24-03-05 07:1[0-9]:[0-9][0-9]" +
      rowValues + ")+");
  EXPECT_TRUE(std::regex_match(*body, rows)) << *body;
  EXPECT_EQ(run.Err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Streams, WineAcceleratedClock,
    testing::Values(StreamCaseT{"CleanFrames", {}},
                    StreamCaseT{"EveryOtherChecksumBad", {"--bad-checksum-every", "2"}},
                    StreamCaseT{"SplitFrames", {"--split"}},
                    StreamCaseT{"DoubleStartAndGarbage", {"--double-start", "--garbage", "5"}}),
    [](const testing::TestParamInfo<StreamCaseT>& info) { return std::string(info.param.Name); });

}  // namespace
