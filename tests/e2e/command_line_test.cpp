#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "dustlog_output.h"

namespace {

const std::string Usage = ConsoleLines({
    "",
    "Monitors Air Quality sensor. Command Format is:",
    "",
    "dustlog [comport]",
    "",
    "where ",
    "",
    "  comport     comport number such as 1. If omitted, then program ",
    "              will prompt for it.",
    "",
});

const std::string Prompt = "Enter comm port to use (digits only): ";
const std::string NoPort = ConsoleLines({"No com port selected, exiting."});
const std::string NoSuchDevice = ConsoleLines({
    "Communication error 2: No such file or directory",
    "Unable to open communications port. Terminating.",
});

class E2EUsage : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(E2EUsage, PrintsUsageAndExitsWithOne) {
  LaunchT launch = DustlogLaunch({});
  launch.Argv.insert(launch.Argv.end(), GetParam().begin(), GetParam().end());
  const ResultT run = RunProcess(launch);
  EXPECT_EQ(AfterBanner(run.Out), Usage) << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.ExitCode(), 1);
}

INSTANTIATE_TEST_SUITE_P(BadArguments, E2EUsage,
                         testing::Values(std::vector<std::string>{"3", "4"}, std::vector<std::string>{"x"},
                                         std::vector<std::string>{""}));

struct PromptCaseT {
  const char* Name;
  StdinKind Stdin;
  std::string Input;
  std::string Expected;  // after the banner
  int Status;
};

// Short test names in ctest instead of a byte dump.
void PrintTo(const PromptCaseT& c, std::ostream* os) { *os << c.Name; }

class E2EPrompt : public testing::TestWithParam<PromptCaseT> {};

TEST_P(E2EPrompt, AsksUntilAPortOrAnEmptyAnswer) {
  LaunchT launch = DustlogLaunch({});
  launch.Stdin = GetParam().Stdin;
  launch.Input = GetParam().Input;
  const ResultT run = RunProcess(launch);
  EXPECT_EQ(AfterBanner(run.Out), GetParam().Expected) << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.ExitCode(), GetParam().Status);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, E2EPrompt,
    testing::Values(
        PromptCaseT{"EmptyLine", StdinKind::Pipe, "\n", Prompt + NoPort, 0},
        PromptCaseT{"EndOfInput", StdinKind::Pipe, "", Prompt + NoPort, 0},
        PromptCaseT{"DevNull", StdinKind::DevNull, "", Prompt + NoPort, 0},
        PromptCaseT{"NotDigitsThenEmpty", StdinKind::Pipe, "abc\n\n", Prompt + Prompt + NoPort, 0},
        PromptCaseT{"NotDigitsThenEnd", StdinKind::Pipe, "abc\n", Prompt + Prompt + NoPort, 0},
        PromptCaseT{"NotDigitsThenPort", StdinKind::Pipe, "abc\n0\n", Prompt + Prompt + NoSuchDevice, 1}),
    [](const testing::TestParamInfo<PromptCaseT>& info) { return std::string(info.param.Name); });

}  // namespace
