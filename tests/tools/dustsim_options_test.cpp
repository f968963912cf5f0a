#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"

// dustsim's command line: its options and exit statuses as scripts and tests use them.

namespace {

ResultT Dustsim(std::vector<std::string> args) {
  LaunchT launch;
  launch.Argv = TargetCommand(DUSTSIM_BIN);
  launch.Argv.insert(launch.Argv.end(), args.begin(), args.end());
  launch.Stdin = StdinKind::DevNull;
  return RunProcess(launch);
}

struct BadCaseT {
  std::vector<std::string> Args;
  const char* Message;
};

const BadCaseT BadCases[] = {
    {{"--period", "-5"}, "dustsim: --period: expected a whole number"},
    {{"--count", "two"}, "dustsim: --count: expected a whole number"},
    {{"--garbage", "3x"}, "dustsim: --garbage: expected a whole number"},
    {{"--values", "1,2,3"}, "dustsim: --values takes twelve numbers 0..65535"},
    {{"--values", "1,2,3,4,5,6,7,8,9,10,11,65536"}, "dustsim: --values takes twelve numbers 0..65535"},
    {{"--values", "1,2,3,4,5,6,7,8,9,10,11,12,13"}, "dustsim: --values takes twelve numbers 0..65535"},
    {{"--period"}, "dustsim: --period: 1 required MS missing"},
    {{"--loud"}, "dustsim: The following argument was not expected: --loud"},
    {{"1003"}, "dustsim: The following argument was not expected: 1003"},
};

TEST(DustsimOptions, WrongArgumentsExitTwoWithTheUsage) {
  for (const BadCaseT& c : BadCases) {
    const ResultT run = Dustsim(c.Args);
    const std::string args = testing::PrintToString(c.Args);
    EXPECT_EQ(run.ExitCode(), 2) << args;
    EXPECT_EQ(run.Out, "") << args;
    EXPECT_EQ(run.Err.substr(0, run.Err.find('\n')), c.Message) << args;
    EXPECT_NE(run.Err.find("--bad-checksum-every"), std::string::npos) << args;
  }
}

TEST(DustsimOptions, HelpListsEveryOptionOnStandardOutput) {
  for (const char* help : {"--help", "-h"}) {
    const ResultT run = Dustsim({help});
    EXPECT_EQ(run.ExitCode(), 0);
    for (const char* option : {"--period MS=1000", "--count N", "--cut-last", "--silent-after N", "--values",
                               "--bad-checksum-every K", "--bad-length-at K", "--garbage N", "--double-start",
                               "--wait-reader", "--split", "--replay FILE", "--hex"})
      EXPECT_NE(run.Out.find(option), std::string::npos) << option;
  }
}

// Options given twice take the last value; a count of frames ends the run by itself.
TEST(DustsimOptions, CountedRunEnds) {
  const ResultT run = Dustsim({"--count", "9", "--count", "2", "--period", "010", "--values",
                               "1,2,3,4,5,6,7,8,9,10,11,12", "--garbage", "0"});
  EXPECT_EQ(run.ExitCode(), 0) << run.Err;
  EXPECT_EQ(run.Out.rfind("dustsim: sensor on /dev/pts/", 0), 0u) << run.Out;
  EXPECT_EQ(run.Err, "");
}

}  // namespace
