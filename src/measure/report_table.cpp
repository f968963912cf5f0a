#include "measure/report_table.h"

#include <cstdio>

#include "sensor/error.h"

namespace {

constexpr const char* ColumnLabels[MeasurementCount] = {
    "1.0S", "2.5S", "10.0S", "1.0E", "2.5E", "10.0E", "0.3P", "0.5P", "1.0P", "2.5P", "5.0P", "10.0P",
};
constexpr int RuleWidth = 90;  // one wider than the header and rows

void Append(ReportTextT& out, const char* format, auto... args) {
  const int n = std::snprintf(out.Text + out.Len, sizeof out.Text - out.Len, format, args...);
  out.Len += static_cast<size_t>(n);
}

}  // namespace

ReportTextT PrintPacket(ReportTableT& table, const PacketT& packet, const LocalTimeT& now) {
  ReportTextT out;
  if (table.Lines % HeaderEvery == 0) {
    Append(out, "%s", "--date-- --time--");
    for (const char* label : ColumnLabels) Append(out, " %5s", label);
    Append(out, "\r\n%.*s\r\n", RuleWidth,
           "--------------------------------------------------------------------------------"
           "----------");
  }
  const char sep = table.TimeSep;
  Append(out, "%02d-%02d-%02d %02d%c%02d%c%02d", now.Year % 100, now.Month, now.Day, now.Hour, sep,
         now.Minute, sep, now.Second);
  for (uint16_t PacketT::*field : MeasurementFields) Append(out, " %5u", unsigned{packet.*field});
  Append(out, "%s", "\r\n");
  if (table.Lines == INT32_MAX) throw EIntOverflow();
  ++table.Lines;
  return out;
}
