// dustplot on a year of rows: reading a log and writing it as CSV.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "dustplot/csv_writer.h"
#include "dustplot/input_output.h"
#include "dustplot/log_reader.h"
#include "fixture_log.h"

namespace {

constexpr int YearOfRows = 365 * 288;  // one row every five minutes

// The year's log, written once to a file under TMPDIR and removed at exit.
class YearLog {
public:
  YearLog() {
    Text = FixtureLog({2024, 1, 1, 0, 2, 11}, YearOfRows);
    const char* dir = std::getenv("TMPDIR");
    LogPath = std::string(dir != nullptr ? dir : "/tmp") + "/dustplot-bench-" + std::to_string(getpid());
    CsvPath = LogPath + ".csv";
    LogPath += ".log";
    WriteOutput(LogPath, Text);
  }
  ~YearLog() {
    std::remove(LogPath.c_str());
    std::remove(CsvPath.c_str());
  }

  std::string Text;
  std::string LogPath;
  std::string CsvPath;
};

const YearLog& Year() {
  static const YearLog year;
  return year;
}

void Report(benchmark::State& state, size_t rows) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Year().Text.size()));
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["log_MB"] = static_cast<double>(Year().Text.size()) / 1e6;
}

// What `dustplot --csv FILE LOG` does: read the file, find the rows, write the CSV file.
void BM_YearLogFileToCsvFile(benchmark::State& state) {
  size_t rows = 0;
  for (auto _ : state) {
    LogT log;
    ReadLogText(ReadInput(Year().LogPath), Year().LogPath, log);
    std::string csv;
    AppendCsv(log.Rows, csv);
    WriteOutput(Year().CsvPath, csv);
    rows = log.Rows.size();
  }
  Report(state, rows);
}
BENCHMARK(BM_YearLogFileToCsvFile)->Unit(benchmark::kMillisecond);

// The two halves from memory: finding the rows, and formatting them.
void BM_YearLogRows(benchmark::State& state) {
  size_t rows = 0;
  for (auto _ : state) {
    LogT log;
    ReadLogText(Year().Text, "year.log", log);
    rows = log.Rows.size();
    benchmark::DoNotOptimize(log.Rows.data());
  }
  Report(state, rows);
}
BENCHMARK(BM_YearLogRows)->Unit(benchmark::kMillisecond);

void BM_YearCsvText(benchmark::State& state) {
  LogT log;
  ReadLogText(Year().Text, "year.log", log);
  for (auto _ : state) {
    std::string csv;
    AppendCsv(log.Rows, csv);
    benchmark::DoNotOptimize(csv.data());
  }
  Report(state, log.Rows.size());
}
BENCHMARK(BM_YearCsvText)->Unit(benchmark::kMillisecond);

}  // namespace
