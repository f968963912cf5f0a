#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "app/console.h"

// A console that records everything written and answers reads from a list
// of lines; past the last line it reports end of input.
class ScriptedConsole final : public Console {
public:
  explicit ScriptedConsole(std::vector<std::string> lines = {}) : Lines(lines.begin(), lines.end()) {}

  void Write(std::string_view text) override { Output.append(text); }
  bool ReadLine(std::string& line) override {
    ++Reads;
    line.clear();
    if (Lines.empty()) return false;
    line = Lines.front();
    Lines.pop_front();
    return true;
  }

  std::string Output;
  int Reads = 0;

private:
  std::deque<std::string> Lines;
};
