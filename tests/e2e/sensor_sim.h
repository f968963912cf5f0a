#pragma once

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"

// A running dustsim: its pseudo-terminal and the port number dustlog takes
// for it. Stopped with SIGTERM when the object goes.
class SensorSim {
public:
  explicit SensorSim(std::vector<std::string> options);
  ~SensorSim();

  const std::string& Device() const { return DevicePath; }
  const std::string& Port() const { return PortArg; }

private:
  std::unique_ptr<ChildProcess> Process;
  std::string DevicePath;
  std::string PortArg;
};
