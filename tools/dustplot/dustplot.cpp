#include "dustplot/dustplot.h"

#include "dustplot/csv_writer.h"
#include "dustplot/daily_figures.h"
#include "dustplot/gnuplot_run.h"
#include "dustplot/input_output.h"
#include "dustplot/log_reader.h"
#include "dustplot/plot_errors.h"

void RunDustplot(const DustplotOptionsT& options, std::string& err) {
  LogT log;
  for (const std::string& path : options.Logs) {
    const std::string text = ReadInput(path);
    ReadLogText(text, path == StdStreamName ? StdinLabel : path, log);
  }
  for (const MalformedLineT& line : log.Malformed)
    err += line.Source + ":" + std::to_string(line.Line) + ": not a dustlog row\n";
  if (log.Rows.empty()) throw ENoRows(ErMsgNoRows);
  KeepPeriod(log.Rows, options.Period);
  if (log.Rows.empty()) throw ENoRows(ErMsgNoRowsInPeriod);
  const std::vector<LogRowT>& rows = log.Rows;

  if (!options.Chart.empty()) RunGnuplot(ChartScript(rows, options.ChartOptions), options.Chart);
  if (!options.Csv.empty()) {
    std::string csv;
    AppendCsv(rows, csv);
    WriteOutput(options.Csv, csv);
  }
  if (options.Daily) {
    const ReadingsT readings = options.ChartOptions.Readings;
    WriteOutput(StdStreamName, DailyTable(DailyFigures(rows, readings), readings));
  }
}
