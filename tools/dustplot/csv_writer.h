#pragma once

#include <string>
#include <vector>

#include "dustplot/log_row.h"

// CSV after RFC 4180 with LF line ends: a header line, then one line per row,
// the time as ISO 8601 local time without a zone and the values as logged.
void AppendCsv(const std::vector<LogRowT>& rows, std::string& out);
