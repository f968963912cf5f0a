#include "dustplot/chart_script.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <tuple>

#include "dustplot/guidelines.h"
#include "dustplot/segments.h"

namespace {

constexpr int TickWidth = 110;  // pixels per time-axis label
constexpr int64_t Minute = 60;
constexpr int64_t Hour = 3600;
constexpr int64_t Day = SecondsPerDay;
constexpr int64_t Week = 7 * Day;

struct StepT {
  int64_t Seconds;
  int Minor;  // minor intervals per step, on round times too
};
constexpr StepT Steps[] = {
    {5 * Minute, 5}, {10 * Minute, 2}, {15 * Minute, 3}, {30 * Minute, 3}, {Hour, 4},    {2 * Hour, 2},
    {3 * Hour, 3},   {6 * Hour, 6},    {12 * Hour, 2},   {Day, 4},         {2 * Day, 2}, {Week, 7},
    {2 * Week, 2},   {4 * Week, 4},    {13 * Week, 13},  {26 * Week, 2},
};
constexpr int64_t FirstMonday = 4 * Day;      // 1970-01-05
constexpr int64_t LonePadding = 30 * Minute;  // each side of a log with a single row

// Columns of the inline data: the time, then the twelve values in log order.
constexpr int TimeColumn = 1;
constexpr int ValueColumn1 = 2;

struct SeriesT {
  int Column;  // a ValueColumn
  const char* Title;
  const char* Colour;
};

constexpr SeriesT MassSeries[2][3] = {
    {{Pm1Std, "PM1.0", "#2a9d3f"}, {Pm25Std, "PM2.5", "#e07b00"}, {Pm10Std, "PM10", "#1f5fbf"}},
    {{Pm1Env, "PM1.0", "#2a9d3f"}, {Pm25Env, "PM2.5", "#e07b00"}, {Pm10Env, "PM10", "#1f5fbf"}},
};

constexpr SeriesT CountSeries[] = {
    {Count03, "> 0.3 µm", "#4d4d4d"}, {Count05, "> 0.5 µm", "#1f5fbf"}, {Count10, "> 1.0 µm", "#2a9d3f"},
    {Count25, "> 2.5 µm", "#e07b00"}, {Count50, "> 5.0 µm", "#c0392b"}, {Count100, "> 10 µm", "#8e44ad"},
};

int64_t RoundUp(int64_t value, int64_t step, int64_t origin) {
  const int64_t offset = value - origin;
  const int64_t steps = offset / step + (offset % step > 0 ? 1 : 0);
  return origin + steps * step;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string TimeText(int64_t seconds) { return IsoText(CivilFromSeconds(seconds)); }

// "2024-03-05 07:13"
std::string MinuteText(const CivilTimeT& time) { return IsoText(time).substr(0, 16).replace(10, 1, " "); }

void AppendRow(const LogRowT& row, std::string& out) {
  out += IsoText(row.Time);
  char number[16];
  for (uint32_t value : row.Values) {
    out += ' ';
    out.append(number, std::to_chars(number, number + sizeof number, value).ptr);
  }
  out += '\n';
}

// Which data blocks hold rows: gnuplot warns about an empty one.
struct BlocksT {
  bool Runs = false;
  bool Lone = false;
};

// A blank line between runs of rows: gnuplot never joins points across it.
// Rows that stand alone get their own block, drawn as dots since a line needs two.
BlocksT AppendData(const std::vector<LogRowT>& rows, std::string& out) {
  const std::vector<size_t> starts = SegmentStarts(rows);
  BlocksT blocks;
  std::string lone;
  out += "$rows << EOD\n";
  for (size_t s = 0; s < starts.size(); ++s) {
    const size_t end = s + 1 < starts.size() ? starts[s + 1] : rows.size();
    if (end - starts[s] == 1) {
      AppendRow(rows[starts[s]], lone);
      continue;
    }
    for (size_t i = starts[s]; i < end; ++i) AppendRow(rows[i], out);
    out += '\n';
    blocks.Runs = true;
  }
  out += "EOD\n";
  blocks.Lone = !lone.empty();
  if (blocks.Lone) out += "$lone << EOD\n" + lone + "EOD\n";
  return blocks;
}

std::string Using(int column) {
  return "using " + std::to_string(TimeColumn) + ":" + std::to_string(ValueColumn1 + column);
}

// On a log scale a count of 0 has no place; it is left out rather than drawn at the bottom.
std::string UsingPositive(int column) {
  const std::string value = "$" + std::to_string(ValueColumn1 + column);
  return "using " + std::to_string(TimeColumn) + ":(" + value + " > 0 ? " + value + " : NaN)";
}

template <size_t N>
std::string PlotCommand(const SeriesT (&series)[N], bool positive, BlocksT blocks,
                        const std::vector<std::string>& extra) {
  std::vector<std::string> clauses;
  for (const SeriesT& s : series) {
    if (!blocks.Runs) break;
    const std::string how = positive ? UsingPositive(s.Column) : Using(s.Column);
    clauses.push_back("$rows " + how + " with lines lw 1.5 lc rgb " + Quoted(s.Colour) + " title " +
                      Quoted(s.Title));
  }
  for (const SeriesT& s : series) {
    if (!blocks.Lone) break;
    const std::string how = positive ? UsingPositive(s.Column) : Using(s.Column);
    clauses.push_back("$lone " + how + " with points pt 7 ps 0.6 lc rgb " + Quoted(s.Colour) + " notitle");
  }
  clauses.insert(clauses.end(), extra.begin(), extra.end());
  std::string plot = "plot ";
  for (size_t i = 0; i < clauses.size(); ++i) plot += (i == 0 ? "" : ", \\\n  ") + clauses[i];
  return plot + "\n";
}

// Dashed lines in the colour of the series they judge, labelled in the right
// margin where no data can cover the label.
std::vector<std::string> GuidelinePlots(std::string& labels) {
  std::vector<std::string> plots;
  for (const auto& [level, name, colour] :
       {std::tuple{WhoPm25Daily, "PM2.5", "#e07b00"}, std::tuple{WhoPm10Daily, "PM10", "#1f5fbf"}}) {
    const std::string value = std::to_string(level);
    plots.push_back(value + " with lines dt 2 lw 1.5 lc rgb " + Quoted(colour) + " notitle");
    const std::string text = std::string("WHO 24-h guideline\\n") + name + ": " + value + " µg/m³";
    labels += "set label " + Quoted(text);
    labels += " at graph 1, first " + value + " left offset 1,0.5 tc rgb " + Quoted(colour) + "\n";
  }
  return plots;
}

TicksT AppendTimeAxis(int64_t first, int64_t last, int width, std::string& out) {
  if (first == last) {
    first -= LonePadding;
    last += LonePadding;
  }
  TicksT ticks = ChooseTicks(first, last, width);
  out += "set xdata time\nset timefmt \"%Y-%m-%dT%H:%M:%S\"\n";
  out += "set xrange [" + Quoted(TimeText(first)) + ":" + Quoted(TimeText(last)) + "]\n";
  out += "set xtics " + Quoted(TimeText(ticks.First)) + ", " + std::to_string(ticks.Step) + "\n";
  out += "set mxtics " + std::to_string(ticks.Minor) + "\n";
  out += "set format x " + Quoted(ticks.Format) + "\n";
  return ticks;
}

}  // namespace

TicksT ChooseTicks(int64_t first, int64_t last, int width) {
  const int64_t span = std::max<int64_t>(last - first, 1);
  const int64_t most = std::max(2, width / TickWidth);
  TicksT ticks;
  const StepT* chosen = std::prev(std::end(Steps));
  for (const StepT& step : Steps) {
    if (span / step.Seconds <= most) {
      chosen = &step;
      break;
    }
  }
  ticks.Step = chosen->Seconds;
  ticks.Minor = chosen->Minor;
  ticks.First = RoundUp(first, ticks.Step, ticks.Step % Week == 0 ? FirstMonday : 0);
  const CivilTimeT from = CivilFromSeconds(first);
  const CivilTimeT to = CivilFromSeconds(last);
  if (ticks.Step < Day) {
    const bool oneDay = from.Year == to.Year && from.Month == to.Month && from.Day == to.Day;
    ticks.Format = oneDay ? "%H:%M" : "%H:%M\\n%b %d";
  } else {
    ticks.Format = from.Year == to.Year ? "%b %d" : "%b %d\\n%Y";
  }
  return ticks;
}

std::string ChartScript(const std::vector<LogRowT>& rows, const ChartOptionsT& options) {
  const bool standard = options.Readings == ReadingsT::Standard;
  const SeriesT(&mass)[3] = MassSeries[standard ? 0 : 1];
  int64_t first = CivilSeconds(rows.front().Time);
  int64_t last = first;
  uint32_t highest = WhoPm10Daily;  // both guideline lines always show
  uint32_t fewest = UINT32_MAX;     // the smallest count above zero
  for (const LogRowT& row : rows) {
    first = std::min(first, CivilSeconds(row.Time));
    last = std::max(last, CivilSeconds(row.Time));
    for (const SeriesT& s : mass) highest = std::max(highest, row.Values[s.Column]);
    for (const SeriesT& s : CountSeries)
      if (row.Values[s.Column] > 0) fewest = std::min(fewest, row.Values[s.Column]);
  }

  std::string out;
  out += options.Format == ChartFormatT::Png ? "set terminal pngcairo" : "set terminal svg";
  // The cairo and svg terminals take the labels' UTF-8 as it is; "set encoding utf8" would only
  // make gnuplot warn under the C locale.
  out += " size " + std::to_string(options.Width) + "," + std::to_string(options.Height) +
         " noenhanced font \"sans,10\" background \"white\"\n";
  const BlocksT blocks = AppendData(rows, out);
  const TicksT ticks = AppendTimeAxis(first, last, options.Width, out);
  out += "set grid xtics mxtics ytics lc rgb \"#d8d8d8\" lt 1, lc rgb \"#eeeeee\" lt 1\n";
  out += "set key outside bottom center horizontal samplen 3\n";
  out += "set lmargin 10\nset rmargin 20\n";
  const std::string period =
      MinuteText(CivilFromSeconds(first)) + " to " + MinuteText(CivilFromSeconds(last));
  out += "set title " +
         Quoted(std::string("Particulate matter, ") + (standard ? "standard" : "environment") +
                " readings, " + period) +
         "\n";
  // Headroom above the highest line, so the PM10 guideline never lies on the frame.
  out += "set ylabel \"µg/m³\"\nset yrange [0:" + std::to_string(highest + highest / 10 + 1) + "]\n";
  // The panels share the time axis: its labels go under the lower one only.
  if (options.Counts) out += "set multiplot layout 2,1\nset format x \"\"\n";
  std::string labels;
  const std::vector<std::string> guidelines = GuidelinePlots(labels);
  out += labels;
  out += PlotCommand(mass, false, blocks, guidelines);
  if (options.Counts) {
    out += "set format x " + Quoted(ticks.Format) + "\n";
    // Counts of 1 would lie on the frame at a decade's bottom: start half-way below.
    // With no count above 0 there is nothing to scale by, and an empty panel is drawn.
    const bool none = fewest == UINT32_MAX;
    const double bottom = none ? 0.5 : std::pow(10.0, std::floor(std::log10(fewest))) / 2;
    out += "unset title\nunset label\nset logscale y\nset ylabel \"particles per 0.1 L of air\"\n";
    out += "set yrange [" + std::to_string(bottom) + (none ? ":10]\n" : ":*]\n");
    out += PlotCommand(CountSeries, true, blocks, {});
    out += "unset multiplot\n";
  }
  return out;
}
