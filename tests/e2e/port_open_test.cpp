#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "child_process.h"
#include "dustlog_output.h"
#include "sensor_sim.h"

namespace {

std::string OpenFailure(std::string_view error) {
  return ConsoleLines({error, "Unable to open communications port. Terminating."});
}

class E2EPortOpen : public testing::TestWithParam<const char*> {};

// Ports 0, -1 and 500 name no device at all; 1999 is /dev/pts/999, which
// this machine lacks.
TEST_P(E2EPortOpen, MissingDeviceEndsWithOne) {
  const ResultT run = RunProcess(DustlogLaunch({GetParam()}));
  EXPECT_EQ(AfterBanner(run.Out), OpenFailure("Communication error 2: No such file or directory")) << run.Out;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.ExitCode(), 1);
}

INSTANTIATE_TEST_SUITE_P(Ports, E2EPortOpen, testing::Values("0", "-1", "500", "1999"));

// True once pid holds a flock, which dustlog takes right after opening the port.
bool HoldsFlock(pid_t pid) {
  std::ifstream locks("/proc/locks");
  for (std::string line; std::getline(locks, line);) {
    std::istringstream fields(line);
    std::string number, kind, mode, access;
    pid_t owner = 0;
    if (fields >> number >> kind >> mode >> access >> owner && kind == "FLOCK" && owner == pid) return true;
  }
  return false;
}

TEST(E2EPortBusy, SecondReaderOfAPortIsRefused) {
  SensorSim sim({"--wait-reader", "--period", "50"});
  ChildProcess first(DustlogLaunch({sim.Port()}));
  const auto end = std::chrono::steady_clock::now() + SafetyDeadline;
  while (!HoldsFlock(first.Pid()) && std::chrono::steady_clock::now() < end) {
    ASSERT_TRUE(first.StillRunningAfter(20ms)) << first.Finish().Err;
  }
  ASSERT_TRUE(HoldsFlock(first.Pid())) << "the first dustlog never locked " << sim.Device();

  const ResultT second = RunProcess(DustlogLaunch({sim.Port()}));
  EXPECT_EQ(AfterBanner(second.Out), OpenFailure("Communication error 16: Device or resource busy"))
      << second.Out;
  EXPECT_EQ(second.Err, "");
  EXPECT_EQ(second.ExitCode(), 1);
  EXPECT_TRUE(first.StillRunningAfter(100ms)) << "the refused open disturbed the first reader";
}

}  // namespace
