#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& what, int code) {
  throw std::runtime_error(what + ": " + std::strerror(code));
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

struct PipeT {
  int Read = -1;
  int Write = -1;

  PipeT() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) Fail("pipe2", errno);
    Read = fds[0];
    Write = fds[1];
  }
  ~PipeT() {
    CloseFd(Read);
    CloseFd(Write);
  }
};

std::vector<std::string> ChildEnvironment(const LaunchT& launch) {
  auto extra = launch.Env;
  extra.emplace_back("LC_ALL", "C");
  std::vector<std::string> env;
  for (char** p = environ; *p != nullptr; ++p) {
    const std::string entry = *p;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& [key, value] : extra) replaced = replaced || key == name;
    if (!replaced) env.push_back(entry);
  }
  for (const auto& [key, value] : extra) env.push_back(key + "=" + value);
  return env;
}

void WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("write to child's stdin", errno);
    done += static_cast<size_t>(n);
  }
}

// Spawn file actions and attributes, released however the spawn ends.
struct SpawnSetupT {
  posix_spawn_file_actions_t Actions;
  posix_spawnattr_t Attr;

  SpawnSetupT() {
    posix_spawn_file_actions_init(&Actions);
    posix_spawnattr_init(&Attr);
  }
  ~SpawnSetupT() {
    posix_spawn_file_actions_destroy(&Actions);
    posix_spawnattr_destroy(&Attr);
  }
};

}  // namespace

std::optional<int> ResultT::ExitCode() const {
  if (Hung || !WIFEXITED(WaitStatus)) return std::nullopt;
  return WEXITSTATUS(WaitStatus);
}

std::optional<int> ResultT::TermSignal() const {
  if (Hung || !WIFSIGNALED(WaitStatus)) return std::nullopt;
  return WTERMSIG(WaitStatus);
}

ChildProcess::ChildProcess(const LaunchT& launch) {
  if (launch.Argv.empty()) throw std::invalid_argument("no program to run");
  SpawnSetupT setup;
  PipeT in;
  PipeT out;
  PipeT err;

  if (launch.Stdin == StdinKind::Pipe) {
    // Small inputs fit the pipe buffer, so writing before the spawn cannot block.
    WriteAll(in.Write, launch.Input);
    posix_spawn_file_actions_adddup2(&setup.Actions, in.Read, STDIN_FILENO);
  } else if (launch.Stdin == StdinKind::DevNull) {
    posix_spawn_file_actions_addopen(&setup.Actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  } else if (launch.Stdin == StdinKind::WriteOnly) {
    posix_spawn_file_actions_addopen(&setup.Actions, STDIN_FILENO, "/dev/null", O_WRONLY, 0);
  } else {
    posix_spawn_file_actions_addclose(&setup.Actions, STDIN_FILENO);
  }
  switch (launch.Stdout) {
    case StdoutKind::Pipe: posix_spawn_file_actions_adddup2(&setup.Actions, out.Write, STDOUT_FILENO); break;
    case StdoutKind::DevFull:
      posix_spawn_file_actions_addopen(&setup.Actions, STDOUT_FILENO, "/dev/full", O_WRONLY, 0);
      break;
    case StdoutKind::ClosedPipe:
      CloseFd(out.Read);
      posix_spawn_file_actions_adddup2(&setup.Actions, out.Write, STDOUT_FILENO);
      break;
    case StdoutKind::Closed: posix_spawn_file_actions_addclose(&setup.Actions, STDOUT_FILENO); break;
  }
  posix_spawn_file_actions_adddup2(&setup.Actions, err.Write, STDERR_FILENO);

  // The runner may have been started with SIGINT or SIGPIPE ignored (a
  // background job is); the child must see the default actions.
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int sig : {SIGINT, SIGTERM, SIGPIPE, SIGQUIT, SIGHUP}) sigaddset(&defaults, sig);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&setup.Attr, &defaults);
  posix_spawnattr_setsigmask(&setup.Attr, &none);
  posix_spawnattr_setpgroup(&setup.Attr, 0);
  posix_spawnattr_setflags(&setup.Attr,
                           POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);

  std::vector<char*> argv;
  for (const auto& arg : launch.Argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const std::vector<std::string> env = ChildEnvironment(launch);
  std::vector<char*> envp;
  for (const auto& entry : env) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);

  const int rc = posix_spawn(&Child, argv[0], &setup.Actions, &setup.Attr, argv.data(), envp.data());
  if (rc != 0) Fail("spawn " + launch.Argv[0], rc);

  if (launch.Stdout == StdoutKind::Pipe) std::swap(OutFd, out.Read);
  std::swap(ErrFd, err.Read);
}

ChildProcess::~ChildProcess() {
  if (!Exited) {
    kill(-Child, SIGKILL);
    while (waitpid(Child, &WaitStatus, 0) < 0 && errno == EINTR) {
    }
  }
  CloseFd(OutFd);
  CloseFd(ErrFd);
}

void ChildProcess::Pump(int timeoutMs) {
  pollfd fds[2];
  std::string* texts[2];
  int* owners[2];
  nfds_t count = 0;
  for (auto [fd, text] : {std::pair{&OutFd, &OutText}, std::pair{&ErrFd, &ErrText}}) {
    if (*fd < 0) continue;
    fds[count] = {*fd, POLLIN, 0};
    texts[count] = text;
    owners[count] = fd;
    ++count;
  }
  // With no pipe left this is just a pause before the next exit check.
  const int ready = poll(fds, count, timeoutMs);
  if (ready < 0 && errno != EINTR) Fail("poll", errno);
  for (nfds_t i = 0; ready > 0 && i < count; ++i) {
    if (fds[i].revents == 0) continue;
    char buffer[4096];
    const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
    if (n > 0) {
      texts[i]->append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      CloseFd(*owners[i]);
    }
  }
  if (!Exited) {
    const pid_t done = waitpid(Child, &WaitStatus, WNOHANG);
    if (done == Child) Exited = true;
  }
}

bool ChildProcess::WaitForOutput(const std::function<bool(const std::string&)>& done,
                                 std::chrono::milliseconds deadline) {
  const auto end = Clock::now() + deadline;
  while (!done(OutText)) {
    if (Done() || Clock::now() >= end) return false;
    Pump(20);
  }
  return true;
}

bool ChildProcess::StillRunningAfter(std::chrono::milliseconds span) {
  const auto end = Clock::now() + span;
  while (!Exited && Clock::now() < end) Pump(20);
  return !Exited;
}

void ChildProcess::Signal(int sig) {
  if (!Exited) kill(-Child, sig);
}

ResultT ChildProcess::Finish(std::chrono::milliseconds deadline) {
  const auto end = Clock::now() + deadline;
  bool hung = false;
  while (!Done()) {
    if (!hung && Clock::now() >= end) {
      hung = true;
      Signal(SIGKILL);
    }
    Pump(20);
  }
  return {OutText, ErrText, WaitStatus, hung};
}

ResultT RunProcess(const LaunchT& launch, std::chrono::milliseconds deadline) {
  ChildProcess child(launch);
  return child.Finish(deadline);
}

std::vector<std::string> TargetCommand(const std::string& program) {
  std::vector<std::string> command;
#ifdef DUSTLOG_E2E_EMULATOR
  std::istringstream words(DUSTLOG_E2E_EMULATOR);
  for (std::string word; words >> word;) command.push_back(word);
#endif
  command.push_back(program);
  return command;
}
