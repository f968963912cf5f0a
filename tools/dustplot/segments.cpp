#include "dustplot/segments.h"

bool ContinuesSegment(const LogRowT& previous, const LogRowT& row) {
  const int64_t step = CivilSeconds(row.Time) - CivilSeconds(previous.Time);
  return step >= 0 && step <= MaxRowGap;
}

std::vector<size_t> SegmentStarts(const std::vector<LogRowT>& rows) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < rows.size(); ++i)
    if (i == 0 || !ContinuesSegment(rows[i - 1], rows[i])) starts.push_back(i);
  return starts;
}
