#include <csignal>
#include <cstdlib>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "child_process.h"
#include "dustlog_output.h"
#include "sensor_sim.h"
#include "temp_dir.h"

// dustlog, under libfaketime at 100x against dustsim, writes a log; dustplot
// reads it back. A row every virtual five minutes is one every 3 s.

namespace {

constexpr int RowsWanted = 3;

// One CSV line per row dustlog printed, converted here independently of dustplot.
std::string CsvOfRows(const std::string& log, int& rows) {
  static const std::regex Row(R"((\d\d)-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)((?: +\d+){12})\r)");
  std::string csv;
  rows = 0;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, Row)) continue;
    csv += "20" + m[1].str() + "-" + m[2].str() + "-" + m[3].str() + "T" + m[4].str() + ":" + m[5].str() +
           ":" + m[6].str();
    std::istringstream values(m[7].str());
    for (std::string value; values >> value;) csv += "," + value;
    csv += "\n";
    ++rows;
  }
  return csv;
}

size_t RowCount(const std::string& out) {
  static const std::regex Row(R"(\n\d\d-\d\d-\d\d \d\d:\d\d:\d\d(?: +\d+){12}\r)");
  return static_cast<size_t>(std::distance(std::sregex_iterator(out.begin(), out.end(), Row), {}));
}

TEST(DustlogToDustplot, CsvHoldsTheRowsDustlogPrinted) {
  if (const std::string missing = FaketimeMissing(); !missing.empty()) GTEST_SKIP() << missing;

  // Frames with values that drift, so each row's averages differ.
  SensorSim sim({"--wait-reader", "--period", "10"});
  ChildProcess dustlog(FakedDustlogLaunch("@2024-03-05 23:48:00 x100", sim.Port()));
  const bool reported =
      dustlog.WaitForOutput([](const std::string& out) { return RowCount(out) >= RowsWanted; }, 40s);
  dustlog.Signal(SIGTERM);
  const ResultT logged = dustlog.Finish();
  ASSERT_TRUE(reported) << logged.Out << logged.Err;

  TempDir dir;
  const std::string log = dir.Write("dust.log", logged.Out);
  int rows = 0;
  const std::string expected = CsvOfRows(logged.Out, rows);
  ASSERT_GE(rows, RowsWanted);

  LaunchT plot;
  plot.Argv = TargetCommand(DUSTPLOT_BIN);
  plot.Argv.insert(plot.Argv.end(), {"--csv", "-", log});
  const ResultT csv = RunProcess(plot);
  EXPECT_EQ(csv.ExitCode(), 0) << csv.Err;
  EXPECT_EQ(csv.Err, "");
  EXPECT_EQ(csv.Out,
            "time,pm1_0_std,pm2_5_std,pm10_std,pm1_0_env,pm2_5_env,pm10_env,"
            "gt0_3um,gt0_5um,gt1_0um,gt2_5um,gt5_0um,gt10um\n" +
                expected)
      << logged.Out;

  // The daily figures count the same rows, split at midnight.
  plot.Argv = TargetCommand(DUSTPLOT_BIN);
  plot.Argv.push_back(log);
  const ResultT daily = RunProcess(plot);
  EXPECT_EQ(daily.ExitCode(), 0) << daily.Err;
  int counted = 0;
  std::istringstream lines(daily.Out);
  std::string line;
  std::getline(lines, line);
  for (; std::getline(lines, line);) counted += std::stoi(line.substr(10, 7));
  EXPECT_EQ(counted, rows) << daily.Out;
}

}  // namespace
