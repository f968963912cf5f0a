#include "sensor/port_device.h"

namespace {

struct PortRangeT {
  int32_t First;
  int32_t Last;
  const char* Prefix;
};

constexpr PortRangeT PortRanges[] = {
    {1, 99, "/dev/ttyS"},      {100, 199, "/dev/ttyUSB"},      {200, 299, "/dev/ttyACM"},
    {300, 399, "/dev/ttyAMA"}, {1000, INT32_MAX, "/dev/pts/"},
};

}  // namespace

std::string PortDevicePath(int32_t port) {
  for (const PortRangeT& range : PortRanges) {
    if (port >= range.First && port <= range.Last) {
      return range.Prefix + std::to_string(port - range.First);
    }
  }
  return "";
}
