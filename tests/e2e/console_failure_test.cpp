#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "child_process.h"
#include "dustlog_output.h"

namespace {

struct BrokenStdoutT {
  const char* Name;
  StdoutKind Stdout;
};

void PrintTo(const BrokenStdoutT& c, std::ostream* os) { *os << c.Name; }

class E2EConsoleFailure : public testing::TestWithParam<BrokenStdoutT> {};

// The usage text is the first thing written; a write that fails must be
// reported, not lost (and a closed pipe must not kill the process silently).
TEST_P(E2EConsoleFailure, FailedWriteIsAnUnhandledError) {
  LaunchT launch = DustlogLaunch({"3", "4"});
  launch.Stdout = GetParam().Stdout;
  const ResultT run = RunProcess(launch);
  EXPECT_TRUE(IsErrorReport(run.Err, "EInOutError: Disk Full"));
  EXPECT_EQ(run.ExitCode(), 217);
}

INSTANTIATE_TEST_SUITE_P(Stdout, E2EConsoleFailure,
                         testing::Values(BrokenStdoutT{"DevFull", StdoutKind::DevFull},
                                         BrokenStdoutT{"ClosedPipe", StdoutKind::ClosedPipe}),
                         [](const testing::TestParamInfo<BrokenStdoutT>& info) {
                           return std::string(info.param.Name);
                         });

}  // namespace
