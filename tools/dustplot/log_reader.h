#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dustplot/log_row.h"

struct MalformedLineT {
  std::string Source;  // the file name as given, or "(standard input)"
  long long Line = 0;  // 1-based
};

// The rows of every source read so far, in input order.
struct LogT {
  std::vector<LogRowT> Rows;
  std::vector<MalformedLineT> Malformed;
};

// Adds the rows of one source's whole text. Lines end in LF or CR LF; a last
// line without its end is a row still being written and is left out.
void ReadLogText(std::string_view text, const std::string& source, LogT& log);
