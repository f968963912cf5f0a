#pragma once

#include <string>
#include <vector>

#include "dustplot/chart_script.h"
#include "dustplot/period.h"

struct DustplotOptionsT {
  std::vector<std::string> Logs;  // in order; "-" is standard input
  std::string Chart;              // -o: empty for none
  std::string Csv;                // --csv: empty for none, "-" for standard output
  bool Daily = false;             // asked for, or implied by no other output
  ChartOptionsT ChartOptions;
  PeriodT Period;
};

// What the command line asks for, or the text to print and the status to end with.
struct CommandLineT {
  DustplotOptionsT Options;
  bool Done = false;  // help, version or an error: print Out and Err, end with Status
  int Status = 0;
  std::string Out;
  std::string Err;
};

constexpr int UsageStatus = 2;

CommandLineT ParseCommandLine(int argc, const char* const* argv);

// "1280x720", each side 100..10000 pixels; false when not such a size.
bool ParseSize(const std::string& text, int& width, int& height);
