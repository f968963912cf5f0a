#include <csignal>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "dustlog_output.h"
#include "sensor_sim.h"

namespace {

struct QuietCaseT {
  const char* Name;
  std::vector<std::string> SimOptions;
  int Stop;  // the signal that ends dustlog
};

void PrintTo(const QuietCaseT& c, std::ostream* os) { *os << c.Name; }

class E2EQuietStream : public testing::TestWithParam<QuietCaseT> {};

// A healthy sensor: dustlog keeps reading and prints nothing but the banner
// until a signal ends it, with no message of its own. That the frames are
// really read is shown under an accelerated clock, where they make a row.
TEST_P(E2EQuietStream, KeepsReadingSilentlyUntilASignal) {
  std::vector<std::string> options = {"--wait-reader"};
  options.insert(options.end(), GetParam().SimOptions.begin(), GetParam().SimOptions.end());
  SensorSim sim(options);
  ChildProcess dustlog(DustlogLaunch({sim.Port()}));

  EXPECT_TRUE(dustlog.StillRunningAfter(2s));
  dustlog.Signal(GetParam().Stop);
  const ResultT run = dustlog.Finish();
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  EXPECT_EQ(run.Err, "");
  // No handler: the signal ends the process.
  EXPECT_EQ(run.TermSignal(), GetParam().Stop);
}

INSTANTIATE_TEST_SUITE_P(Streams, E2EQuietStream,
                         testing::Values(QuietCaseT{"GoodFramesStoppedByCtrlC", {"--period", "50"}, SIGINT},
                                         QuietCaseT{"GoodFramesStoppedByTerm", {"--period", "50"}, SIGTERM}),
                         [](const testing::TestParamInfo<QuietCaseT>& info) {
                           return std::string(info.param.Name);
                         });

TEST(E2EStreamFaults, ChecksumErrorsPastTheLimitEndWithOne) {
  SensorSim sim({"--wait-reader", "--period", "20", "--bad-checksum-every", "1"});
  const ResultT run = RunProcess(DustlogLaunch({sim.Port()}));
  EXPECT_EQ(AfterBanner(run.Out), ConsoleLines({"Checksum error count exceeded 10"})) << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.ExitCode(), 1);
}

TEST(E2EStreamFaults, BadLengthWordIsAnUnhandledError) {
  SensorSim sim({"--wait-reader", "--period", "20", "--bad-length-at", "3"});
  const ResultT run = RunProcess(DustlogLaunch({sim.Port()}));
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  EXPECT_TRUE(IsErrorReport(run.Err, "EFrameLen: Frame length was incorrect"));
  EXPECT_EQ(run.ExitCode(), 217);

  const auto addr2line = FindProgram(DUSTLOG_E2E_ADDR2LINE);
  if (!addr2line) return;  // binutils missing: the address cannot be resolved here
  LaunchT lookup;
  lookup.Argv = {*addr2line, "-f", "-i", "-e", DUSTLOG_BIN, RaiseAddress(run.Err)};
  const ResultT resolved = RunProcess(lookup);
  EXPECT_EQ(resolved.ExitCode(), 0) << resolved.Err;
  EXPECT_TRUE(resolved.Out.find("GetPacket") != std::string::npos ||
              resolved.Out.find("EFrameLen") != std::string::npos)
      << resolved.Out;
}

class E2EVanishingDevice : public testing::TestWithParam<bool> {};

// Between frames or mid-frame, a vanished device ends the run at once, not
// after eleven thirty-second time-outs.
TEST_P(E2EVanishingDevice, IsAnUnhandledError) {
  std::vector<std::string> options = {"--wait-reader", "--period", "50", "--count", "10"};
  if (GetParam()) options.push_back("--cut-last");
  SensorSim sim(options);
  const ResultT run = RunProcess(DustlogLaunch({sim.Port()}));
  EXPECT_FALSE(run.Hung) << "still running " << SafetyDeadline.count() << " ms after the device closed";
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  EXPECT_TRUE(IsErrorReport(run.Err, "ESynaSerError: Communication error 5: Input/output error"));
  EXPECT_EQ(run.ExitCode(), 217);
}

INSTANTIATE_TEST_SUITE_P(Closing, E2EVanishingDevice, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "MidFrame" : "BetweenFrames");
                         });

}  // namespace
