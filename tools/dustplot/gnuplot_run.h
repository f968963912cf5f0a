#pragma once

#include <string>
#include <string_view>

// Runs gnuplot from PATH with script on its standard input and its standard
// output written to output. Raises EFileError, ENoGnuplot or EGnuplotFailed.
void RunGnuplot(std::string_view script, const std::string& output);
