// Opening the COM port: failures carry Windows' numbers (the texts are wine's).
#include <cstdlib>
#include <regex>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "dustlog_output.h"
#include "wine_dustlog.h"

namespace {

// The two lines of a failed open, for the given system error number.
testing::AssertionResult IsOpenFailure(const std::string& out, int code) {
  const auto body = AfterBanner(out);
  if (!body) return testing::AssertionFailure() << "no banner: " << out;
  const std::regex failure("Communication error " + std::to_string(code) +
                           ": [^\r\n]+\r\nUnable to open communications port\\. Terminating\\.\r\n");
  if (!std::regex_match(*body, failure)) return testing::AssertionFailure() << *body;
  return testing::AssertionSuccess();
}

// No mapping (COM6), a dangling one (COM7), the plain names COM0 and COM-1:
// "file not found", 2.
TEST(WinePortOpen, MissingPortIsErrorTwoAndEndsWithOne) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  const ComPortMapping dangling(*wine, 7, "/nonexistent/tty");
  for (const char* port : {"6", "7", "0", "-1"}) {
    const ResultT run = RunProcess(WineLaunch(*wine, {port}));
    EXPECT_TRUE(IsOpenFailure(run.Out, 2)) << "port " << port;
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.ExitCode(), 1);
  }
}

// Under wine a port another program holds opens anyway, so the refusal that
// Windows reports for it, "access denied" (5), is brought about by mapping
// the port to a directory, which CreateFile refuses with the same number.
TEST(WinePortOpen, RefusedPortIsErrorFiveAndEndsWithOne) {
  const auto wine = WineSetup();
  SKIP_WITHOUT_WINE(wine);
  char dir[] = "/tmp/dustlog-wine-port-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  {
    const ComPortMapping refused(*wine, 8, dir);
    const ResultT run = RunProcess(WineLaunch(*wine, {"8"}));
    EXPECT_TRUE(IsOpenFailure(run.Out, 5));
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.ExitCode(), 1);
  }
  rmdir(dir);
}

}  // namespace
