#include <cstdint>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "dustlog_output.h"
#include "fixture_log.h"
#include "temp_dir.h"

// The dustplot binary: its command line, its files and its charts.

namespace {

const std::string Row1 =
    "24-03-05 07:13:01     4     6     9     4     6     9   870   259    43     3     1     0\r\n";
const std::string Row2 =
    "24-03-05 07:18:01     5     7    10     5     7    10   880   260    44     4     2     1\r\n";
const std::string CsvHead =
    "time,pm1_0_std,pm2_5_std,pm10_std,pm1_0_env,pm2_5_env,pm10_env,"
    "gt0_3um,gt0_5um,gt1_0um,gt2_5um,gt5_0um,gt10um\n";
const std::string Csv1 = "2024-03-05T07:13:01,4,6,9,4,6,9,870,259,43,3,1,0\n";
const std::string Csv2 = "2024-03-05T07:18:01,5,7,10,5,7,10,880,260,44,4,2,1\n";
const std::string NoGnuplot = "dustplot: gnuplot not found: install the package gnuplot-nox to draw charts\n";

ResultT Dustplot(std::vector<std::string> args, const std::string& input = "",
                 std::vector<std::pair<std::string, std::string>> env = {}) {
  LaunchT launch;
  launch.Argv = TargetCommand(DUSTPLOT_BIN);
  launch.Argv.insert(launch.Argv.end(), args.begin(), args.end());
  launch.Input = input;
  launch.Env = std::move(env);
  return RunProcess(launch);
}

struct UsageCaseT {
  std::vector<std::string> Args;
  const char* Message;  // the first line of standard error
};

const UsageCaseT UsageCases[] = {
    {{"--bogus"}, "dustplot: The following argument was not expected: --bogus"},
    {{"-o", "chart.jpg"}, "dustplot: --output: the chart's name must end in .png or .svg"},
    {{"-o"}, "dustplot: --output: 1 required FILE missing"},
    {{"--counts"}, "dustplot: --counts requires --output"},
    {{"-o", "c.png", "--size", "99x720"},
     "dustplot: --size: expected WIDTHxHEIGHT in pixels, 100 to 10000 each"},
    {{"-o", "c.png", "--size", "1280*720"},
     "dustplot: --size: expected WIDTHxHEIGHT in pixels, 100 to 10000 each"},
    {{"--from", "2024-02-30"}, "dustplot: --from: expected YYYY-MM-DD or \"YYYY-MM-DD HH:MM\""},
    {{"--to", "5 March"}, "dustplot: --to: expected YYYY-MM-DD or \"YYYY-MM-DD HH:MM\""},
    {{"--from", "2024-03-06", "--to", "2024-03-05 23:59"}, "dustplot: --from is later than --to"},
};

TEST(DustplotCommandLine, WrongArgumentsGiveOneLineAndTheUsage) {
  for (const UsageCaseT& c : UsageCases) {
    const ResultT run = Dustplot(c.Args, Row1);
    const std::string args = testing::PrintToString(c.Args);
    EXPECT_EQ(run.ExitCode(), 2) << args;
    EXPECT_EQ(run.Out, "") << args;
    EXPECT_EQ(run.Err.substr(0, run.Err.find('\n')), c.Message) << args;
    EXPECT_NE(run.Err.find("\nUsage: dustplot [OPTIONS] [LOG...]\n"), std::string::npos) << args << run.Err;
  }
}

TEST(DustplotCommandLine, VersionIsTheProjectVersion) {
  const ResultT run = Dustplot({"--version"});
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_EQ(run.Out, std::string("dustplot ") + DUSTLOG_VERSION + "\n");
}

TEST(DustplotCommandLine, HelpListsEveryOption) {
  const ResultT run = Dustplot({"--help"});
  EXPECT_EQ(run.ExitCode(), 0);
  for (const char* option : {"-o,--output FILE", "--csv FILE", "--daily", "--env", "--counts", "--from WHEN",
                             "--to WHEN", "--size WxH", "--version"})
    EXPECT_NE(run.Out.find(option), std::string::npos) << option;
}

TEST(DustplotFiles, UnreadableFileIsNamedWithTheReason) {
  TempDir dir;
  const std::string good = dir.Write("good.log", Row1);
  const struct {
    std::string Path;
    const char* Reason;
  } cases[] = {{dir.Path("missing.log"), "No such file or directory"}, {dir.Path(""), "Is a directory"}};
  for (const auto& c : cases) {
    const ResultT run = Dustplot({good, c.Path});
    EXPECT_EQ(run.ExitCode(), 1) << c.Path;
    EXPECT_EQ(run.Out, "") << c.Path;
    EXPECT_EQ(run.Err, "dustplot: " + c.Path + ": " + c.Reason + "\n");
  }
}

TEST(DustplotFiles, FilesAndStandardInputAreReadInTheOrderGiven) {
  TempDir dir;
  const std::string first = dir.Write("first.log", Row2);
  const std::string second = dir.Write("second.log", "\r\n" + Row2 + Row1);
  const ResultT run = Dustplot({"--csv", "-", first, "-", second}, Row1);
  EXPECT_EQ(run.ExitCode(), 0) << run.Err;
  EXPECT_EQ(run.Out, CsvHead + Csv2 + Csv1 + Csv2 + Csv1);
  EXPECT_EQ(run.Err, "");
}

TEST(DustplotFiles, MalformedRowIsNamedAndSkipped) {
  const std::string log = Row1 + "24-03-05 07:15:00 1 2 3\r\n" + Row2 + "24-03-05 07:2";
  TempDir dir;
  const std::string csv = dir.Path("rows.csv");
  const ResultT run = Dustplot({"--csv", csv, "--daily"}, log);
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_EQ(run.Err, "(standard input):2: not a dustlog row\n");
  EXPECT_EQ(ReadFile(csv), CsvHead + Csv1 + Csv2);
  EXPECT_NE(run.Out.find("\n2024-03-05      2    0.2 "), std::string::npos) << run.Out;
}

TEST(DustplotFiles, NoRowsIsAFailure) {
  const ResultT empty = Dustplot({}, "\r\ndustlog: dustlog. Compiled: 2024/03/01 12:00:00.\r\n\r\n");
  EXPECT_EQ(empty.ExitCode(), 1);
  EXPECT_EQ(empty.Out, "");
  EXPECT_EQ(empty.Err, "dustplot: no dustlog rows in the input\n");

  const ResultT outside = Dustplot({"--from", "2024-03-06"}, Row1 + Row2);
  EXPECT_EQ(outside.ExitCode(), 1);
  EXPECT_EQ(outside.Err, "dustplot: no dustlog rows in the period given\n");
}

TEST(DustplotFiles, UnwritableOutputIsNamed) {
  const ResultT run = Dustplot({"--csv", "/nonexistent/rows.csv"}, Row1);
  EXPECT_EQ(run.ExitCode(), 1);
  EXPECT_EQ(run.Err, "dustplot: /nonexistent/rows.csv: No such file or directory\n");

  const ResultT full = Dustplot({"--csv", "/dev/full"}, Row1);
  EXPECT_EQ(full.ExitCode(), 1);
  EXPECT_EQ(full.Err, "dustplot: /dev/full: No space left on device\n");
}

// Width and height from a PNG's IHDR chunk; {0, 0} when data is no PNG.
std::pair<uint32_t, uint32_t> PngSize(const std::string& data) {
  const std::string signature = "\x89PNG\r\n\x1a\n";
  if (data.size() < 24 || data.compare(0, 8, signature) != 0 || data.compare(12, 4, "IHDR") != 0)
    return {0, 0};
  auto word = [&](size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(data[at + i]);
    return value;
  };
  return {word(16), word(20)};
}

class DustplotChart : public testing::Test {
protected:
  void SetUp() override {
    if (!FindProgram("gnuplot")) GTEST_SKIP() << "gnuplot is not installed (Debian package gnuplot-nox)";
    // Two days, then the sensor unplugged for two hours and a further run.
    TwoDays = Dir.Write("two-days.log",
                        FixtureLog({2024, 3, 5, 7, 13, 1}, 560) + FixtureLog({2024, 3, 7, 9, 0, 0}, 20));
  }

  TempDir Dir;
  std::string TwoDays;
};

TEST_F(DustplotChart, PngHasTheSizeAsked) {
  const std::string chart = Dir.Path("chart.png");
  const ResultT standard = Dustplot({"-o", chart, TwoDays});
  EXPECT_EQ(standard.ExitCode(), 0) << standard.Err;
  EXPECT_EQ(standard.Out, "");
  EXPECT_EQ(standard.Err, "") << "gnuplot warned";
  EXPECT_EQ(PngSize(ReadFile(chart)), std::make_pair(1280u, 720u));

  const std::string small = Dir.Path("SMALL.PNG");
  const ResultT counts = Dustplot({"-o", small, "--size", "800x450", "--counts", "--env", TwoDays});
  EXPECT_EQ(counts.ExitCode(), 0) << counts.Err;
  EXPECT_EQ(PngSize(ReadFile(small)), std::make_pair(800u, 450u));
  EXPECT_EQ(counts.Err, "") << "gnuplot warned";
}

// Clean air can count no particle at all; a log scale has no place for 0.
TEST_F(DustplotChart, CountsPanelWithEveryCountZero) {
  const std::string chart = Dir.Path("zero.png");
  const std::string rows =
      "24-03-05 07:13:01 1 2 3 1 2 3 0 0 0 0 0 0\n24-03-05 07:18:01 1 2 3 1 2 3 0 0 0 0 0 0\n";
  const ResultT run = Dustplot({"--counts", "-o", chart}, rows);
  EXPECT_EQ(run.ExitCode(), 0) << run.Err;
  EXPECT_EQ(PngSize(ReadFile(chart)), std::make_pair(1280u, 720u));
}

// gnuplot's SVG puts each plotted item in <g id="gnuplot_plot_N">.
std::vector<std::string> SvgPlots(const std::string& svg) {
  std::vector<std::string> plots;
  const std::string mark = "<g id=\"gnuplot_plot_";
  for (size_t at = svg.find(mark); at != std::string::npos;) {
    const size_t next = svg.find(mark, at + 1);
    plots.push_back(svg.substr(at, next == std::string::npos ? std::string::npos : next - at));
    at = next;
  }
  return plots;
}

// The drawing commands of a plot's paths; gnuplot splits a long line over several.
// The last plot runs on to the frame's paths, so for it only the first path is wanted.
std::string PathData(const std::string& plot, bool firstOnly = false) {
  std::string data;
  for (size_t d = plot.find(" d='"); d != std::string::npos;
       d = firstOnly ? std::string::npos : plot.find(" d='", d + 1)) {
    const size_t start = d + 4;
    data += plot.substr(start, plot.find('\'', start) - start) + " ";
  }
  return data;
}

std::vector<double> PathYs(const std::string& plot, bool firstOnly = false) {
  std::vector<double> ys;
  const std::string path = PathData(plot, firstOnly);
  static const std::regex Point(R"([ML]([0-9.]+),([0-9.]+))");
  for (std::sregex_iterator it(path.begin(), path.end(), Point), end; it != end; ++it)
    ys.push_back(std::stod((*it)[2]));
  return ys;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST_F(DustplotChart, SvgHoldsThreeSeriesAndTheTwoGuidelines) {
  const std::string chart = Dir.Path("chart.svg");
  const ResultT run = Dustplot({"-o", chart, TwoDays});
  ASSERT_EQ(run.ExitCode(), 0) << run.Err;
  EXPECT_EQ(run.Err, "") << "gnuplot warned";
  const std::string svg = ReadFile(chart);
  const std::vector<std::string> plots = SvgPlots(svg);
  ASSERT_EQ(plots.size(), 5u) << svg.substr(0, 2000);

  const char* series[] = {"PM1.0", "PM2.5", "PM10"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NE(plots[i].find(std::string("<text>") + series[i] + "</text>"), std::string::npos) << series[i];
    // The legend sample, then one stroke per run of rows: the gap breaks the line.
    EXPECT_EQ(Count(PathData(plots[i]), "M"), 3u) << series[i];
    EXPECT_GT(PathYs(plots[i]).size(), 500u) << series[i];
  }
  double guidelineY[2] = {};
  for (size_t i = 0; i < 2; ++i) {
    const std::string& plot = plots[3 + i];
    EXPECT_NE(plot.find("stroke-dasharray"), std::string::npos) << "guideline " << i;
    const std::vector<double> ys = PathYs(plot, true);
    ASSERT_GE(ys.size(), 2u);
    for (double y : ys) EXPECT_EQ(y, ys.front()) << "guideline " << i << " is not level";
    guidelineY[i] = ys.front();
  }
  EXPECT_GT(guidelineY[0], guidelineY[1]) << "the PM2.5 line (15) must lie below the PM10 line (45)";
  EXPECT_EQ(Count(svg, "<text>WHO 24-h guideline</text>"), 2u);
  EXPECT_NE(svg.find("<text>PM2.5: 15 µg/m³</text>"), std::string::npos);
  EXPECT_NE(svg.find("<text>PM10: 45 µg/m³</text>"), std::string::npos);
  EXPECT_NE(svg.find("<text>µg/m³</text>"), std::string::npos);
  EXPECT_NE(svg.find("standard readings, 2024-03-05 07:13 to 2024-03-07 10:35"), std::string::npos);
}

TEST_F(DustplotChart, MissingGnuplotNamesThePackage) {
  const std::string old = Dir.Write("old.png", "an older chart");
  const std::vector<std::pair<std::string, std::string>> noGnuplot = {{"PATH", "/nonexistent"}};
  const ResultT run = Dustplot({"-o", old, TwoDays}, "", noGnuplot);
  EXPECT_EQ(run.ExitCode(), 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.Err, NoGnuplot);
  EXPECT_EQ(ReadFile(old), "an older chart");

  // CSV and daily figures need no gnuplot.
  const ResultT csv = Dustplot({"--csv", "-", "--daily"}, Row1, noGnuplot);
  EXPECT_EQ(csv.ExitCode(), 0) << csv.Err;
  EXPECT_EQ(csv.Out.substr(0, CsvHead.size() + Csv1.size()), CsvHead + Csv1);
}

TEST_F(DustplotChart, ChartFileThatCannotBeWrittenIsNamed) {
  const ResultT run = Dustplot({"-o", "/nonexistent/chart.png", TwoDays});
  EXPECT_EQ(run.ExitCode(), 1);
  EXPECT_EQ(run.Err, "dustplot: /nonexistent/chart.png: No such file or directory\n");
}

// A name gnuplot would take as a pipe is just a file name here.
TEST_F(DustplotChart, FileNameIsNeverACommand) {
  const std::string marker = Dir.Path("ran");
  const std::string name = "|touch " + marker + " x.png";
  const ResultT run = Dustplot({"-o", name, TwoDays});
  EXPECT_EQ(run.ExitCode(), 1) << "no such directory: '|touch ...'";
  EXPECT_NE(run.Err.find("No such file or directory"), std::string::npos) << run.Err;
  EXPECT_FALSE(std::ifstream(marker).good());
}

}  // namespace
