#include <csignal>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <unistd.h>

#include "child_process.h"
#include "dustlog_output.h"
#include "sensor_sim.h"

// The report period (300 s) and the time-out limit (11 x 30 s) are run under
// libfaketime at 100x: only dustlog is faked, so dustsim's real 10 ms period
// is a virtual second.

namespace {

const std::string Values = "3,5,6,3,5,6,840,250,40,3,1,0";
const std::string TableHead = ConsoleLines({
    "--date-- --time--  1.0S  2.5S 10.0S  1.0E  2.5E 10.0E  0.3P  0.5P  1.0P  2.5P  5.0P 10.0P",
    std::string(90, '-'),
});
const std::string Row = "24-03-05 07:1[0-9]:[0-9][0-9]";  // a pattern: the stamp moves with load
const std::string RowValues = "     3     5     6     3     5     6   840   250    40     3     1     0\r\n";

class E2EAcceleratedClock : public testing::Test {
protected:
  void SetUp() override {
    if (const std::string missing = FaketimeMissing(); !missing.empty()) GTEST_SKIP() << missing;
  }
};

TEST_F(E2EAcceleratedClock, SilenceFromTheStartEndsAfterElevenTimeouts) {
  SensorSim sim({"--wait-reader", "--silent-after", "0"});
  const ResultT run = RunProcess(FakedDustlogLaunch("+0 x100", sim.Port()));
  EXPECT_FALSE(run.Hung) << "330 virtual seconds did not pass in " << SafetyDeadline.count() << " ms";
  EXPECT_EQ(AfterBanner(run.Out), ConsoleLines({"Timeout error count exceeded 10"})) << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.ExitCode(), 1);
}

// After three frames the last one stands in for the silent seconds, so the
// 300 s report comes out before the eleventh time-out ends the run.
TEST_F(E2EAcceleratedClock, SilenceAfterFramesReportsThenEnds) {
  SensorSim sim({"--wait-reader", "--period", "10", "--values", Values, "--silent-after", "3"});
  const ResultT run = RunProcess(FakedDustlogLaunch("@2024-03-05 07:08:00 x100", sim.Port()));
  EXPECT_FALSE(run.Hung) << "330 virtual seconds did not pass in " << SafetyDeadline.count() << " ms";
  const auto body = AfterBanner(run.Out);
  ASSERT_TRUE(body) << run.Out;
  ASSERT_EQ(body->substr(0, TableHead.size()), TableHead) << *body;
  const std::regex rest(Row + RowValues + "Timeout error count exceeded 10\r\n");
  EXPECT_TRUE(std::regex_match(body->substr(TableHead.size()), rest)) << *body;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.ExitCode(), 1);
}

// Time-outs run on the monotonic clock: a wall clock racing ahead (a bad NTP
// step, a daylight-saving change) must not shorten them. 400 wall-clock
// seconds pass, more than eleven time-outs, while only 4 s really do.
TEST_F(E2EAcceleratedClock, RacingWallClockDoesNotShortenTimeouts) {
  SensorSim sim({"--wait-reader", "--silent-after", "0"});
  ChildProcess dustlog(FakedDustlogLaunch("+0 x100", sim.Port(), FakedClocksT::WallOnly));
  EXPECT_TRUE(dustlog.StillRunningAfter(4s)) << "ended by a clock that is not the monotonic one";
  dustlog.Signal(SIGTERM);
  const ResultT run = dustlog.Finish();
  EXPECT_EQ(AfterBanner(run.Out), "") << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.TermSignal(), SIGTERM);
}

struct FaultyStreamT {
  const char* Name;
  std::vector<std::string> SimOptions;
};

void PrintTo(const FaultyStreamT& c, std::ostream* os) { *os << c.Name; }

class E2EFaultyStream : public E2EAcceleratedClock, public testing::WithParamInterface<FaultyStreamT> {};

// A row of averages every five minutes, also from streams with faults below
// the limits: their frames are still found and read, so the report shows
// their values. A frame missed in the search would leave nothing to report; a
// frame misread would run into the checksum limit.
TEST_P(E2EFaultyStream, FramesAreReadAndReportedEveryFiveMinutes) {
  std::vector<std::string> options = {"--wait-reader", "--period", "10", "--values", Values};
  options.insert(options.end(), GetParam().SimOptions.begin(), GetParam().SimOptions.end());
  SensorSim sim(options);
  ChildProcess dustlog(FakedDustlogLaunch("@2024-03-05 07:08:00 x100", sim.Port()));
  const auto hasRow = [](const std::string& out) { return out.find(RowValues) != std::string::npos; };
  const bool reported = dustlog.WaitForOutput(hasRow, 30s);
  dustlog.Signal(SIGTERM);
  const ResultT run = dustlog.Finish();
  ASSERT_TRUE(reported) << run.Out << run.Err;
  const auto body = AfterBanner(run.Out);
  ASSERT_TRUE(body) << run.Out;
  ASSERT_EQ(body->substr(0, TableHead.size()), TableHead) << *body;
  const std::regex rows("(" + Row + RowValues + ")+");
  EXPECT_TRUE(std::regex_match(body->substr(TableHead.size()), rows)) << *body;
  EXPECT_EQ(run.Err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Streams, E2EFaultyStream,
    testing::Values(FaultyStreamT{"CleanFrames", {}},
                    FaultyStreamT{"EveryOtherChecksumBad", {"--bad-checksum-every", "2"}},
                    FaultyStreamT{"SplitFrames", {"--split"}},
                    FaultyStreamT{"DoubleStartAndGarbage", {"--double-start", "--garbage", "5"}}),
    [](const testing::TestParamInfo<FaultyStreamT>& info) { return std::string(info.param.Name); });

}  // namespace
