#include <exception>
#include <new>
#include <string_view>
#include <vector>

#include "app/console.h"
#include "app/dustlog.h"
#include "app/process_setup.h"
#include "app/unhandled_error.h"
#include "sensor/clock.h"

int main(int argc, char** argv) {
  SetUpProcess();
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
