#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dustplot/daily_figures.h"
#include "dustplot/log_row.h"

enum class ChartFormatT { Png, Svg };

struct ChartOptionsT {
  ChartFormatT Format = ChartFormatT::Png;
  int Width = 1280;  // pixels
  int Height = 720;
  ReadingsT Readings = ReadingsT::Standard;
  bool Counts = false;  // a lower panel with the six particle counts
};

// Time-axis ticks: a step in seconds, where the first tick falls, and gnuplot's label format.
struct TicksT {
  int64_t Step = 0;
  int64_t First = 0;
  int Minor = 1;  // minor intervals per step
  std::string Format;
};

// About one tick per 110 pixels of width, on round times of the day or week.
TicksT ChooseTicks(int64_t first, int64_t last, int width);

// The whole gnuplot script, data inline, drawing to standard output. rows is not empty.
std::string ChartScript(const std::vector<LogRowT>& rows, const ChartOptionsT& options);
