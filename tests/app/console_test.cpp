#include "app/console.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Puts text on standard input through a pipe, with the writing end closed so
// that reading past it is end of input; restores the real input afterwards.
class PipedStdin {
public:
  explicit PipedStdin(const std::string& text) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    EXPECT_EQ(write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(fds[1]);
    Saved = dup(STDIN_FILENO);
    dup2(fds[0], STDIN_FILENO);
    close(fds[0]);
  }
  ~PipedStdin() {
    dup2(Saved, STDIN_FILENO);
    close(Saved);
  }

private:
  int Saved = -1;
};

TEST(StdConsole, ReadLineTakesCrLfAndCrAndLfAsLineEnds) {
  struct Case {
    std::string Input;
    std::vector<std::string> Lines;
  };
  const Case cases[] = {
      {"4\r\n5\n", {"4", "5"}},
      {"4\r5", {"4", "5"}},
      {"4\n5\r\n", {"4", "5"}},
      {"abc", {"abc"}},
      {"\n\r\n7\n", {"", "", "7"}},
      {"4\r\r\n5", {"4", "", "5"}},
      {"", {}},
      {"\xB5"
       "4\xFF\r\n\x8D\n",
       {"\xB5"
        "4\xFF",
        "\x8D"}},  // bytes above 0x7F pass unchanged
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.Input));
    PipedStdin input(c.Input);
    StdConsole console;
    std::vector<std::string> lines;
    std::string line = "junk";
    while (console.ReadLine(line)) lines.push_back(line);
    EXPECT_EQ(lines, c.Lines);
    EXPECT_EQ(line, "");
    // End of input stays the end.
    EXPECT_FALSE(console.ReadLine(line));
  }
}

}  // namespace
