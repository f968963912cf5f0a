#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "dustplot/log_row.h"

// Rows kept by --from and --to, both ends included, in seconds on the log's wall clock.
struct PeriodT {
  std::optional<int64_t> From;
  std::optional<int64_t> To;
};

enum class PeriodEndT { Start, End };

// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM". As a start it is the first second of
// that day or minute, as an end its last second, so "--to 2024-03-05" keeps
// the whole day. Empty when the text is not such a date.
std::optional<int64_t> ParseWhen(std::string_view text, PeriodEndT end);

// Leaves the rows inside period, in their order.
void KeepPeriod(std::vector<LogRowT>& rows, const PeriodT& period);
