#pragma once

#include <string>

#include "dustplot/command_line.h"

// Reads the logs and writes every output asked for. Raises EPlotFailure.
// Notes on malformed lines go to err; the caller prints them.
void RunDustplot(const DustplotOptionsT& options, std::string& err);
