#include "dustplot/gnuplot_run.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dustplot/plot_errors.h"

extern char** environ;

namespace {

constexpr const char* GnuplotProgram = "gnuplot";

// The first executable name in a PATH directory, as a shell would find it; empty when none.
std::string FindInPath(const char* name) {
  const char* path = std::getenv("PATH");
  std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
  for (;;) {
    const size_t colon = dirs.find(':');
    const std::string_view dir = dirs.substr(0, colon);
    std::string candidate = (dir.empty() ? std::string(".") : std::string(dir)) + "/" + name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (colon == std::string_view::npos) return {};
    dirs.remove_prefix(colon + 1);
  }
}

class FdT {
public:
  explicit FdT(int fd = -1) : Fd(fd) {}
  ~FdT() { Close(); }
  FdT(const FdT&) = delete;
  FdT& operator=(const FdT&) = delete;
  int Get() const { return Fd; }
  void Close() {
    if (Fd >= 0) close(Fd);
    Fd = -1;
  }
  void Reset(int fd) {
    Close();
    Fd = fd;
  }

private:
  int Fd;
};

// False when the reader went away (EPIPE): gnuplot stopped early and its status says why.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

int WaitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

}  // namespace

void RunGnuplot(std::string_view script, const std::string& output) {
  // Looked up before the chart file is touched, so a missing gnuplot leaves an old chart alone.
  const std::string gnuplot = FindInPath(GnuplotProgram);
  if (gnuplot.empty()) throw ENoGnuplot();

  // dustplot opens the chart file itself: gnuplot never sees a file name, so
  // no name can turn into one of its commands or a pipe.
  FdT out(open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (out.Get() < 0) throw EFileError(output, errno);
  struct stat info {};
  const bool regularFile = fstat(out.Get(), &info) == 0 && S_ISREG(info.st_mode);

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw EFileError(gnuplot, errno);
  FdT readEnd(fds[0]);
  FdT writeEnd(fds[1]);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, readEnd.Get(), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out.Get(), STDOUT_FILENO);
  std::string name = GnuplotProgram;
  char* argv[] = {name.data(), nullptr};
  pid_t child = -1;
  const int spawned = posix_spawn(&child, gnuplot.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw EFileError(gnuplot, spawned);
  readEnd.Close();
  out.Close();

  const bool sent = WriteAll(writeEnd.Get(), script);
  writeEnd.Close();
  const int status = WaitFor(child);
  if (sent && WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
  // Only a file of our own making is removed: never a device such as /dev/stdout.
  if (regularFile) unlink(output.c_str());
  if (WIFSIGNALED(status)) throw EGnuplotFailed("ended by signal " + std::to_string(WTERMSIG(status)));
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    throw EGnuplotFailed("exit status " + std::to_string(WEXITSTATUS(status)));
  throw EGnuplotFailed("it stopped reading the script");
}
