#include "dustplot/log_reader.h"

void ReadLogText(std::string_view text, const std::string& source, LogT& log) {
  constexpr size_t RowBytes = 91;  // a row and its CR LF
  log.Rows.reserve(log.Rows.size() + text.size() / RowBytes + 1);
  long long number = 0;
  LogRowT row;
  for (size_t start = 0;;) {
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) break;
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    switch (ParseLogLine(line, row)) {
      case LineKindT::Row: log.Rows.push_back(row); break;
      case LineKindT::Malformed: log.Malformed.push_back({source, number}); break;
      case LineKindT::Other: break;
    }
    start = end + 1;
  }
}
