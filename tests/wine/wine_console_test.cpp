// The console of dustlog.exe: bytes exactly as on Linux, CR LF and all.
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dustlog_output.h"
#include "wine_dustlog.h"

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

TEST(WineConsole, BannerThenUsageForBadArguments) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  for (const auto& args : {std::vector<std::string>{"3", "4"}, std::vector<std::string>{"x"}}) {
    LaunchT launch = WineLaunch(*wine, {});
    launch.Argv.insert(launch.Argv.end(), args.begin(), args.end());
    const ResultT run = RunProcess(launch);
    EXPECT_EQ(AfterBanner(run.Out), Usage) << run.Out;
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.ExitCode(), 1);
  }
}

struct PromptCaseT {
  const char* Name;
  StdinKind Stdin;
  std::string Input;
  std::string Expected;  // after the banner
};

void PrintTo(const PromptCaseT& c, std::ostream* os) { *os << c.Name; }

class WinePrompt : public testing::TestWithParam<PromptCaseT> {};

// Lines may end in CR LF, LF or CR; the end of a pipe or of a file is an empty answer.
TEST_P(WinePrompt, AsksUntilAnEmptyAnswer) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  LaunchT launch = WineLaunch(*wine, {});
  launch.Stdin = GetParam().Stdin;
  launch.Input = GetParam().Input;
  const ResultT run = RunProcess(launch);
  EXPECT_EQ(AfterBanner(run.Out), GetParam().Expected) << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.ExitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WinePrompt,
    testing::Values(PromptCaseT{"EndOfPipe", StdinKind::Pipe, "", Prompt + NoPort},
                    PromptCaseT{"DevNull", StdinKind::DevNull, "", Prompt + NoPort},
                    PromptCaseT{"CrLf", StdinKind::Pipe, "abc\r\n\r\n", Prompt + Prompt + NoPort},
                    PromptCaseT{"Lf", StdinKind::Pipe, "abc\n\n", Prompt + Prompt + NoPort},
                    PromptCaseT{"Cr", StdinKind::Pipe, "abc\r\r", Prompt + Prompt + NoPort},
                    PromptCaseT{"NotDigitsThenEnd", StdinKind::Pipe, "1 \r\nabc",
                                Prompt + Prompt + Prompt + NoPort}),
    [](const testing::TestParamInfo<PromptCaseT>& info) { return std::string(info.param.Name); });

struct BrokenStdoutT {
  const char* Name;
  StdoutKind Stdout;
};

void PrintTo(const BrokenStdoutT& c, std::ostream* os) { *os << c.Name; }

class WineConsoleFailure : public testing::TestWithParam<BrokenStdoutT> {};

// The banner is the first write; its failure is reported, not lost.
TEST_P(WineConsoleFailure, FailedWriteIsDiskFull) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  LaunchT launch = WineLaunch(*wine, {"3", "4"});
  launch.Stdout = GetParam().Stdout;
  const ResultT run = RunProcess(launch);
  EXPECT_TRUE(IsErrorReport(run.Err, "EInOutError: Disk Full"));
  EXPECT_EQ(run.ExitCode(), 217);
}

INSTANTIATE_TEST_SUITE_P(Stdout, WineConsoleFailure,
                         testing::Values(BrokenStdoutT{"ClosedPipe", StdoutKind::ClosedPipe},
                                         BrokenStdoutT{"DevFull", StdoutKind::DevFull}),
                         [](const testing::TestParamInfo<BrokenStdoutT>& info) {
                           return std::string(info.param.Name);
                         });

struct BrokenStdinT {
  const char* Name;
  StdinKind Stdin;
};

void PrintTo(const BrokenStdinT& c, std::ostream* os) { *os << c.Name; }

class WineStdinFailure : public testing::TestWithParam<BrokenStdinT> {};

// A read that fails is not end of input: it must not pass for "no port chosen".
// The message is the system's text for the failure, so only its class is compared.
TEST_P(WineStdinFailure, FailedReadAtThePromptIsAnUnhandledError) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  LaunchT launch = WineLaunch(*wine, {});
  launch.Stdin = GetParam().Stdin;
  const ResultT run = RunProcess(launch);
  EXPECT_EQ(AfterBanner(run.Out), Prompt);
  std::smatch message;
  ASSERT_TRUE(std::regex_search(run.Err, message, std::regex("\r\n(EInOutError: [^\r\n]+)\r\n"))) << run.Err;
  EXPECT_TRUE(IsErrorReport(run.Err, message[1].str()));
  EXPECT_EQ(run.ExitCode(), 217);
}

INSTANTIATE_TEST_SUITE_P(Stdin, WineStdinFailure,
                         testing::Values(BrokenStdinT{"Closed", StdinKind::Closed},
                                         BrokenStdinT{"WriteOnly", StdinKind::WriteOnly}),
                         [](const testing::TestParamInfo<BrokenStdinT>& info) {
                           return std::string(info.param.Name);
                         });

}  // namespace
