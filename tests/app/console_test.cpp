#include "app/console.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Puts text on standard input from a temporary file, for inputs larger than a
// pipe holds; restores the real input afterwards.
class FileStdin {
public:
  explicit FileStdin(const std::string& text) : File(std::tmpfile()) {
    EXPECT_NE(File, nullptr);
    EXPECT_EQ(std::fwrite(text.data(), 1, text.size(), File), text.size());
    std::fflush(File);
    std::rewind(File);
    Saved = dup(STDIN_FILENO);
    dup2(fileno(File), STDIN_FILENO);
  }
  ~FileStdin() {
    dup2(Saved, STDIN_FILENO);
    close(Saved);
    std::fclose(File);
  }

private:
  std::FILE* File;
  int Saved = -1;
};

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

// A line without end (say, a device file given as input) is read in bounded
// memory. Up to the longest port number text a line is kept whole; anything
// longer keeps one character more, enough to stay too long.
TEST(StdConsole, EndlessLineIsCutAndTheNextLineIsIntact) {
  const std::string longest(Console::MaxLineKept, '7');
  FileStdin input(longest + "\n" + std::string(256 << 10, '7') + "\r\n5\n");
  StdConsole console;
  std::string line;
  ASSERT_TRUE(console.ReadLine(line));
  EXPECT_EQ(line, longest);
  ASSERT_TRUE(console.ReadLine(line));
  EXPECT_EQ(line, std::string(Console::MaxLineKept + 1, '7'));
  EXPECT_LT(line.capacity(), 4096u);
  ASSERT_TRUE(console.ReadLine(line));
  EXPECT_EQ(line, "5");
}

}  // namespace
