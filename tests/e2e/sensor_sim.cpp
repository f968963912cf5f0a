#include "sensor_sim.h"

#include <csignal>
#include <regex>
#include <stdexcept>

SensorSim::SensorSim(std::vector<std::string> options) {
  LaunchT launch;
  launch.Argv = TargetCommand(DUSTSIM_BIN);
  launch.Argv.insert(launch.Argv.end(), options.begin(), options.end());
  launch.Stdin = StdinKind::DevNull;
  Process = std::make_unique<ChildProcess>(launch);

  const auto hasLine = [](const std::string& out) { return out.find('\n') != std::string::npos; };
  if (!Process->WaitForOutput(hasLine)) {
    throw std::runtime_error("dustsim printed no device line; stderr: " + Process->Finish(1s).Err);
  }
  const std::string line = Process->Out().substr(0, Process->Out().find('\n'));
  static const std::regex Announce(R"(dustsim: sensor on (/dev/pts/[0-9]+), dustlog port ([0-9]+))");
  std::smatch match;
  if (!std::regex_match(line, match, Announce)) throw std::runtime_error("unexpected dustsim line: " + line);
  DevicePath = match[1];
  PortArg = match[2];
}

SensorSim::~SensorSim() {
  Process->Signal(SIGTERM);
  Process->Finish();
}
