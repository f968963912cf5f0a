#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dustplot/log_row.h"

// dustlog prints a row every five minutes; a longer pause is a gap in the record.
constexpr int64_t MaxRowGap = int64_t{15} * 60;  // seconds

// True when row follows previous without a gap: not earlier (a clock turned
// back, logs out of order) and at most MaxRowGap later.
bool ContinuesSegment(const LogRowT& previous, const LogRowT& row);

// Index of the first row of each run of rows that a line may join; rows[0] starts the first.
std::vector<size_t> SegmentStarts(const std::vector<LogRowT>& rows);
