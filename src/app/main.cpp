#include <clocale>
#include <csignal>
#include <exception>
#include <new>
#include <string_view>
#include <vector>

#include "app/console.h"
#include "app/dustlog.h"
#include "app/unhandled_error.h"
#include "sensor/clock.h"

int main(int argc, char** argv) {
  // A closed pipe must be a failed write the program reports, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Stamps and system error texts follow the user's locale; numbers never do.
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_TIME, "");
  std::setlocale(LC_MESSAGES, "");
  Error::Prepare();

  const std::vector<std::string_view> args(argv + 1, argv + argc);
  StdConsole console;
  SystemClock clock;
  try {
    return RunDustlog(args, console, clock);
  } catch (const Error& error) {
    ReportUnhandled(error);
  } catch (const std::bad_alloc&) {
    ReportUnhandled("EOutOfMemory", "Out of memory");
  } catch (const std::exception& error) {
    ReportUnhandled("Exception", error.what());
  } catch (...) {
    ReportUnhandled("Exception", "Unknown exception");
  }
  return UnhandledStatus;
}
