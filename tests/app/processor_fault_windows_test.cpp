#include <gtest/gtest.h>

#include <string>

#include "app/process_setup.h"
#include "app/unhandled_error.h"

namespace {

volatile int* volatile NoWhere = nullptr;
volatile int Zero = 0;

[[gnu::noinline]] void Dereference() { *NoWhere = 1; }
[[gnu::noinline]] void Divide() { Zero = 10 / Zero; }

// GoogleTest's regular expressions on Windows know no groups, counts or
// classes, and it reads the child's output in text mode (CR LF as LF).
std::string Report(const char* line) {
  return std::string("^An unhandled exception occurred at \\$\\w+:\r?\n") + line + "\r?\n  \\$\\w+\r?\n";
}

// A processor fault must be reported like any other error, from the faulting
// address, and never bring up the system's crash dialog.
TEST(ProcessorFaultDeathTest, IsReportedWithItsClassAndEndsWith217) {
  EXPECT_EXIT(
      {
        SetUpProcess();
        Dereference();
      },
      testing::ExitedWithCode(UnhandledStatus), Report("EAccessViolation: Access violation"));
  EXPECT_EXIT(
      {
        SetUpProcess();
        Divide();
      },
      testing::ExitedWithCode(UnhandledStatus), Report("EDivByZero: Division by zero"));
}

}  // namespace
