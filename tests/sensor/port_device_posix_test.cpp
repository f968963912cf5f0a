#include "sensor/port_device.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(PortDeviceTest, PortNumberNamesItsDevice) {
  const struct {
    int32_t Port;
    const char* Path;
  } cases[] = {
      {1, "/dev/ttyS0"},
      {99, "/dev/ttyS98"},
      {100, "/dev/ttyUSB0"},
      {199, "/dev/ttyUSB99"},
      {200, "/dev/ttyACM0"},
      {299, "/dev/ttyACM99"},
      {300, "/dev/ttyAMA0"},
      {399, "/dev/ttyAMA99"},
      {1000, "/dev/pts/0"},
      {1003, "/dev/pts/3"},
      {INT32_MAX, "/dev/pts/2147482647"},
      {0, ""},
      {-1, ""},
      {400, ""},
      {999, ""},
      {INT32_MIN, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PortDevicePath(c.Port), c.Path) << "port " << c.Port;
}

}  // namespace
