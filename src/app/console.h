#pragma once

#include <string>
#include <string_view>

#include "sensor/error.h"

// Raised for every failed write to standard output, whatever its cause.
class EInOutError : public Error {
public:
  [[gnu::always_inline]] explicit EInOutError(const char* message) : Error("EInOutError", message) {}
};

constexpr const char* ErMsgDiskFull = "Disk Full";

// The program's console: standard input and output. Every line written ends
// in CR LF and reaches the console at once.
class Console {
public:
  virtual ~Console() = default;
  // Writes text as it stands; raises EInOutError on failure.
  virtual void Write(std::string_view text) = 0;
  // Reads one line without its end (CR, LF or CR LF); false at end of input.
  // A longer line than MaxLineKept is cut to MaxLineKept + 1 characters, so it
  // stays too long for its reader while memory stays bounded.
  virtual bool ReadLine(std::string& line) = 0;

  static constexpr size_t MaxLineKept = 255;  // characters: the longest port number text

  void WriteLine(std::string_view text);
};

// Standard input and output of the process.
class StdConsole final : public Console {
public:
  void Write(std::string_view text) override;
  bool ReadLine(std::string& line) override;

private:
  bool SkipLf = false;  // the last line ended in CR; a LF right after it belongs to it
};

// The process's standard streams, one file per host (console_posix.cpp,
// console_windows.cpp); bytes pass unchanged both ways.

// True when all of text reached standard output.
bool WriteStdOut(std::string_view text);
// Writes to standard error, ignoring failures: nothing is left to report them to.
void WriteStdErr(std::string_view text);
// One byte of standard input into c; false at end of input. Raises
// EInOutError with the system's text when the read fails.
bool ReadStdIn(char& c);
