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

// The banner's first line is the first thing written; a write that fails must
// be reported, not lost (and a closed pipe must not kill the process silently).
TEST_P(E2EConsoleFailure, FailedWriteIsAnUnhandledError) {
  LaunchT launch = DustlogLaunch({"3", "4"});
  launch.Stdout = GetParam().Stdout;
  const ResultT run = RunProcess(launch);
  EXPECT_TRUE(IsErrorReport(run.Err, "EInOutError: Disk Full"));
  EXPECT_EQ(run.ExitCode(), 217);
}

INSTANTIATE_TEST_SUITE_P(Stdout, E2EConsoleFailure,
                         testing::Values(BrokenStdoutT{"DevFull", StdoutKind::DevFull},
                                         BrokenStdoutT{"ClosedPipe", StdoutKind::ClosedPipe},
                                         BrokenStdoutT{"Closed", StdoutKind::Closed}),
                         [](const testing::TestParamInfo<BrokenStdoutT>& info) {
                           return std::string(info.param.Name);
                         });

struct BrokenStdinT {
  const char* Name;
  StdinKind Stdin;
};

void PrintTo(const BrokenStdinT& c, std::ostream* os) { *os << c.Name; }

class E2EStdinFailure : public testing::TestWithParam<BrokenStdinT> {};

// A read that fails is not end of input: it must not pass for "no port chosen".
TEST_P(E2EStdinFailure, FailedReadAtThePromptIsAnUnhandledError) {
  LaunchT launch = DustlogLaunch({});
  launch.Stdin = GetParam().Stdin;
  const ResultT run = RunProcess(launch);
  EXPECT_EQ(AfterBanner(run.Out), "Enter comm port to use (digits only): ");
  EXPECT_TRUE(IsErrorReport(run.Err, "EInOutError: Bad file descriptor")) << run.Err;
  EXPECT_EQ(run.ExitCode(), 217);
}

INSTANTIATE_TEST_SUITE_P(Stdin, E2EStdinFailure,
                         testing::Values(BrokenStdinT{"Closed", StdinKind::Closed},
                                         BrokenStdinT{"WriteOnly", StdinKind::WriteOnly}),
                         [](const testing::TestParamInfo<BrokenStdinT>& info) {
                           return std::string(info.param.Name);
                         });

}  // namespace
