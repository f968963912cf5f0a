#include "sensor/port_device.h"

std::string PortDevicePath(int32_t port) {
  // The plain name reaches only COM1..COM9; the device namespace reaches all.
  const std::string name = "COM" + std::to_string(port);
  return port >= 1 ? "\\\\.\\" + name : name;
}
