#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

using namespace std::chrono_literals;

// Only a safety net: a run that outlives it is killed and reported as hung.
constexpr std::chrono::milliseconds SafetyDeadline = 20s;

enum class StdinKind {
  Pipe,  // Input is written, then the pipe is closed
  DevNull,
  Closed,     // no descriptor 0 at all
  WriteOnly,  // descriptor 0 open for writing only: every read fails
};

enum class StdoutKind {
  Pipe,        // captured
  DevFull,     // every write fails with ENOSPC
  ClosedPipe,  // a pipe whose read end is already closed: writes fail with EPIPE
  Closed,      // no descriptor 1 at all: writes fail with EBADF
};

struct LaunchT {
  std::vector<std::string> Argv;
  StdinKind Stdin = StdinKind::Pipe;
  std::string Input;
  StdoutKind Stdout = StdoutKind::Pipe;
  // Added to (or replacing) the test's own environment. LC_ALL=C is always
  // set, so system error texts are the English ones compared below.
  std::vector<std::pair<std::string, std::string>> Env;
};

struct ResultT {
  std::string Out;
  std::string Err;
  int WaitStatus = 0;
  bool Hung = false;  // killed at the safety deadline

  std::optional<int> ExitCode() const;
  std::optional<int> TermSignal() const;
};

// A child in its own process group, with stdout and stderr read while it runs
// so it never blocks on a full pipe. Signals go to the whole group, which
// matters when a wrapper such as faketime forks the real program.
class ChildProcess {
public:
  explicit ChildProcess(const LaunchT& launch);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Reads output until stdout satisfies done, the child ends or the deadline
  // passes. True when done was satisfied.
  bool WaitForOutput(const std::function<bool(const std::string&)>& done,
                     std::chrono::milliseconds deadline = SafetyDeadline);
  // Reads output for the given time. True when the child is still running.
  bool StillRunningAfter(std::chrono::milliseconds span);
  void Signal(int sig);
  // Reads until the child has ended and its pipes are closed; kills it at the deadline.
  ResultT Finish(std::chrono::milliseconds deadline = SafetyDeadline);

  pid_t Pid() const { return Child; }
  const std::string& Out() const { return OutText; }

private:
  // One poll round over the open pipes, then a check whether the child ended.
  void Pump(int timeoutMs);
  bool Done() const { return Exited && OutFd < 0 && ErrFd < 0; }

  pid_t Child = -1;
  int OutFd = -1;
  int ErrFd = -1;
  std::string OutText;
  std::string ErrText;
  bool Exited = false;
  int WaitStatus = 0;
};

ResultT RunProcess(const LaunchT& launch, std::chrono::milliseconds deadline = SafetyDeadline);

// The command that runs a program of this build: the program itself, or in a
// cross build the emulator with the program as its argument.
std::vector<std::string> TargetCommand(const std::string& program);
