// dustplot: charts, CSV and daily figures from dustlog's logs.

#include <csignal>
#include <cstdio>
#include <string>

#include "dustplot/dustplot.h"
#include "dustplot/plot_errors.h"

int main(int argc, char** argv) {
  // gnuplot stopping early must be an error dustplot reports, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  const CommandLineT command = ParseCommandLine(argc, argv);
  if (command.Done) {
    std::fputs(command.Out.c_str(), stdout);
    std::fputs(command.Err.c_str(), stderr);
    return command.Status;
  }
  std::string notes;
  try {
    RunDustplot(command.Options, notes);
    std::fputs(notes.c_str(), stderr);
    return 0;
  } catch (const EPlotFailure& failure) {
    std::fputs(notes.c_str(), stderr);
    std::fprintf(stderr, "dustplot: %s\n", failure.what());
    return 1;
  }
}
