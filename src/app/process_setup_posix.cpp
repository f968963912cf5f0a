#include <clocale>
#include <csignal>

#include "app/process_setup.h"

void SetUpProcess() {
  // A closed pipe must be a failed write the program reports, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Stamps and system error texts follow the user's locale; numbers never do.
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_TIME, "");
  std::setlocale(LC_MESSAGES, "");
}
