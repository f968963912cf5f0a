#pragma once

#include <stdexcept>
#include <string>

// Failures that end dustplot with status 1; main prints the message as one line.
class EPlotFailure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be read or written: "FILE: reason".
class EFileError : public EPlotFailure {
public:
  EFileError(const std::string& file, int error);
};

constexpr const char* ErMsgNoRows = "no dustlog rows in the input";
constexpr const char* ErMsgNoRowsInPeriod = "no dustlog rows in the period given";

class ENoRows : public EPlotFailure {
public:
  explicit ENoRows(const char* message) : EPlotFailure(message) {}
};

constexpr const char* ErMsgNoGnuplot = "gnuplot not found: install the package gnuplot-nox to draw charts";

class ENoGnuplot : public EPlotFailure {
public:
  ENoGnuplot() : EPlotFailure(ErMsgNoGnuplot) {}
};

// gnuplot ran but did not finish its chart; it has said why on standard error.
class EGnuplotFailed : public EPlotFailure {
public:
  explicit EGnuplotFailed(const std::string& detail) : EPlotFailure("gnuplot failed: " + detail) {}
};
