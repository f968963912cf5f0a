#include "dustplot/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include <CLI/CLI.hpp>

#ifndef DUSTLOG_VERSION
#error "DUSTLOG_VERSION is the project version, set by the build"
#endif

namespace {

constexpr int MinSide = 100;  // pixels
constexpr int MaxSide = 10000;

constexpr const char* ErMsgChartName = "the chart's name must end in .png or .svg";
constexpr const char* ErMsgSize = "expected WIDTHxHEIGHT in pixels, 100 to 10000 each";
constexpr const char* ErMsgWhen = "expected YYYY-MM-DD or \"YYYY-MM-DD HH:MM\"";
constexpr const char* ErMsgFromAfterTo = "--from is later than --to";

bool EndsWith(const std::string& text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; });
}

bool ChartFormatOf(const std::string& file, ChartFormatT& format) {
  if (EndsWith(file, ".png")) {
    format = ChartFormatT::Png;
    return true;
  }
  if (EndsWith(file, ".svg")) {
    format = ChartFormatT::Svg;
    return true;
  }
  return false;
}

const CLI::Validator ChartFile(
    [](std::string& file) {
      ChartFormatT format;
      return ChartFormatOf(file, format) ? std::string() : ErMsgChartName;
    },
    "");

const CLI::Validator ChartSize(
    [](std::string& text) {
      int width = 0;
      int height = 0;
      return ParseSize(text, width, height) ? std::string() : ErMsgSize;
    },
    "");

CLI::Validator When(PeriodEndT end) {
  return CLI::Validator([end](std::string& text) { return ParseWhen(text, end) ? std::string() : ErMsgWhen; },
                        "");
}

CommandLineT Finished(int status, std::string out, std::string err) {
  CommandLineT result;
  result.Done = true;
  result.Status = status;
  result.Out = std::move(out);
  result.Err = std::move(err);
  return result;
}

}  // namespace

bool ParseSize(const std::string& text, int& width, int& height) {
  const char* end = text.data() + text.size();
  const auto [afterWidth, widthError] = std::from_chars(text.data(), end, width);
  if (widthError != std::errc{} || afterWidth == end || (*afterWidth != 'x' && *afterWidth != 'X'))
    return false;
  const auto [afterHeight, heightError] = std::from_chars(afterWidth + 1, end, height);
  if (heightError != std::errc{} || afterHeight != end) return false;
  return width >= MinSide && width <= MaxSide && height >= MinSide && height <= MaxSide;
}

CommandLineT ParseCommandLine(int argc, const char* const* argv) {
  CLI::App app("Charts, CSV and daily figures from dustlog's logs.", "dustplot");
  app.footer(
      "With no LOG, or with '-', reads standard input. Without -o and --csv, prints the daily figures.");
  app.set_version_flag("--version", std::string("dustplot ") + DUSTLOG_VERSION, "Print the version and exit");

  DustplotOptionsT options;
  std::string size;
  std::string from;
  std::string to;
  bool env = false;
  app.add_option("LOG", options.Logs, "dustlog output to read, in order")->type_name("");
  CLI::Option* chart = app.add_option("-o,--output", options.Chart, "Draw a chart: FILE.png or FILE.svg")
                           ->type_name("FILE")
                           ->check(ChartFile);
  app.add_option("--csv", options.Csv, "Write the rows as CSV; '-' is standard output")->type_name("FILE");
  app.add_flag("--daily", options.Daily, "Print the daily figures (the default without -o and --csv)");
  app.add_flag("--env", env, "Use the environment readings instead of the standard ones");
  app.add_flag("--counts", options.ChartOptions.Counts, "Add a panel with the six particle counts")
      ->needs(chart);
  app.add_option("--from", from, "Keep rows from this time on (local)")
      ->type_name("WHEN")
      ->check(When(PeriodEndT::Start));
  app.add_option("--to", to, "Keep rows up to this time (local), inclusive")
      ->type_name("WHEN")
      ->check(When(PeriodEndT::End));
  app.add_option("--size", size, "Chart size in pixels (default 1280x720)")
      ->type_name("WxH")
      ->check(ChartSize)
      ->needs(chart);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return Finished(0, app.help(), "");
  } catch (const CLI::CallForVersion& version) {
    return Finished(0, std::string(version.what()) + "\n", "");
  } catch (const CLI::ParseError& error) {
    return Finished(UsageStatus, "", std::string("dustplot: ") + error.what() + "\n" + app.help());
  }

  if (!from.empty()) options.Period.From = ParseWhen(from, PeriodEndT::Start);
  if (!to.empty()) options.Period.To = ParseWhen(to, PeriodEndT::End);
  if (options.Period.From && options.Period.To && *options.Period.From > *options.Period.To)
    return Finished(UsageStatus, "", std::string("dustplot: ") + ErMsgFromAfterTo + "\n" + app.help());
  if (!size.empty()) ParseSize(size, options.ChartOptions.Width, options.ChartOptions.Height);
  if (!options.Chart.empty()) ChartFormatOf(options.Chart, options.ChartOptions.Format);
  options.ChartOptions.Readings = env ? ReadingsT::Environment : ReadingsT::Standard;
  if (options.Chart.empty() && options.Csv.empty()) options.Daily = true;
  if (options.Logs.empty()) options.Logs.emplace_back("-");

  CommandLineT result;
  result.Options = std::move(options);
  return result;
}
