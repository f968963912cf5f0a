#include "app/get_com_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripted_console.h"

namespace {

const std::string Prompt = "Enter comm port to use (digits only): ";
const std::string NoPort = "No com port selected, exiting.\r\n";
const std::string Usage =
    "\r\n"
    "Monitors Air Quality sensor. Command Format is:\r\n"
    "\r\n"
    "dustlog [comport]\r\n"
    "\r\n"
    "where \r\n"
    "\r\n"
    "  comport     comport number such as 1. If omitted, then program \r\n"
    "              will prompt for it.\r\n"
    "\r\n";

PortChoiceT Choose(const std::vector<std::string_view>& args, ScriptedConsole& console) {
  return GetComPort(args, console);
}

TEST(GetComPort, SingleValidArgumentIsThePortAndNothingIsWritten) {
  ScriptedConsole console({"7"});
  const PortChoiceT choice = Choose({"$1f"}, console);
  EXPECT_TRUE(choice.Chosen);
  EXPECT_EQ(choice.Port, 31);
  EXPECT_EQ(console.Output, "");
  EXPECT_EQ(console.Reads, 0);
}

TEST(GetComPort, WrongArgumentsPrintUsageAndEndWithStatusOne) {
  const std::vector<std::vector<std::string_view>> argLists = {{"3", "4"}, {"x"}, {""}, {"4 "}};
  for (const auto& args : argLists) {
    ScriptedConsole console({"5"});
    const PortChoiceT choice = Choose(args, console);
    EXPECT_FALSE(choice.Chosen);
    EXPECT_EQ(choice.ExitStatus, 1);
    EXPECT_EQ(console.Output, Usage);
    EXPECT_EQ(console.Reads, 0);
  }
}

TEST(GetComPort, PromptsWithoutArguments) {
  struct Case {
    std::vector<std::string> Lines;
    bool Chosen;
    int32_t Port;
    std::string Output;
  };
  const Case cases[] = {
      {{"12"}, true, 12, Prompt},
      {{""}, false, 0, Prompt + NoPort},
      {{}, false, 0, Prompt + NoPort},
      {{"abc", "4"}, true, 4, Prompt + Prompt},
      {{"4 ", "5"}, true, 5, Prompt + Prompt},
      {{"abc", "x", ""}, false, 0, Prompt + Prompt + Prompt + NoPort},
      {{"abc"}, false, 0, Prompt + Prompt + NoPort},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.Lines));
    ScriptedConsole console(c.Lines);
    const PortChoiceT choice = Choose({}, console);
    EXPECT_EQ(choice.Chosen, c.Chosen);
    if (c.Chosen) {
      EXPECT_EQ(choice.Port, c.Port);
    }
    EXPECT_EQ(choice.ExitStatus, 0);
    EXPECT_EQ(console.Output, c.Output);
  }
}

}  // namespace
